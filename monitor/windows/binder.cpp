#include "windows/binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGraphicsColorizeEffect>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <string>

#include "foundation/text_encoding.h"

namespace treld {
namespace {

QColor qtColour(std::uint32_t colour) {
    if (colour == kButtonFace)
        return QApplication::palette().color(QPalette::Button);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void drawBackground(QWidget* widget, std::uint32_t colour) {
    if (colour == kDesignColour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, qtColour(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A stale element keeps its shapes and texts but loses its colours: grey,
// neither green nor red, whatever it is (a line, a switch, a lamp, a panel).
void drawStale(QWidget* widget, bool stale) {
    if (stale == (widget->graphicsEffect() != nullptr))
        return;
    QGraphicsColorizeEffect* grey = nullptr;
    if (stale) {
        grey = new QGraphicsColorizeEffect(widget);
        grey->setColor(QColor(128, 128, 128));
        grey->setStrength(1.0);
    }
    widget->setGraphicsEffect(grey);  // the widget owns it; null removes the last
}

// Items that were only appended to since the last draw are appended to the
// list; after a clear it is refilled.
void drawItems(QListWidget* list, const Element& element, int& shownGeneration) {
    const auto& items = element.items();
    const bool appended = shownGeneration == element.itemsGeneration() &&
                          list->count() <= static_cast<int>(items.size());
    if (!appended)
        list->clear();
    for (std::size_t i = list->count(); i < items.size(); ++i)
        list->addItem(displayText(items[i]));
    shownGeneration = element.itemsGeneration();
    list->setCurrentRow(element.listIndex());
}

void drawItems(QComboBox* combo, const Element& element, int& shownGeneration) {
    const auto& items = element.items();
    if (combo->count() != static_cast<int>(items.size()) ||
        shownGeneration != element.itemsGeneration()) {
        combo->clear();
        for (const std::string& item : items)
            combo->addItem(displayText(item));
        shownGeneration = element.itemsGeneration();
    }
    combo->setCurrentIndex(element.listIndex());
    if (combo->isEditable() && element.listIndex() < 0) {
        combo->setEditText(displayText(element.caption()));
    }
}

// The tab control that shows `widget` as one of its pages, if any.
QTabWidget* tabsOfPage(QWidget* widget) {
    QWidget* stack = widget->parentWidget();
    auto* tabs = qobject_cast<QTabWidget*>(stack != nullptr ? stack->parentWidget() : nullptr);
    return tabs != nullptr && tabs->indexOf(widget) >= 0 ? tabs : nullptr;
}

}  // namespace

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(toUtf8(text));
    shown.removeIf([](QChar c) { return c.unicode() < 0x20; });
    return shown;
}

// A message keeps its line breaks; other control characters go as elsewhere.
QString messageText(const std::string& text) {
    QStringList lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines << displayText(text.substr(start, end - start));
    lines << displayText(text.substr(start));
    return lines.join('\n');
}

std::string modelText(const QString& text) {
    return text.toStdString();
}

Binder::Binder(Monitor& monitor, std::array<QWidget*, kFormCount> windows)
    : monitor_(monitor), windows_(windows) {}

QObject* Binder::find(Form form, const QString& name) const {
    QWidget* window = windows_[static_cast<int>(form)];
    if (window == nullptr)
        return nullptr;
    if (window->objectName() == name)
        return window;
    return window->findChild<QObject*>(name);
}

void Binder::bindAll() {
    bindings_.assign(monitor_.ui().elementCount(), Binding{});
    for (int f = 0; f < kFormCount; ++f) {
        if (windows_[f] == nullptr)
            continue;
        for (const auto& [name, element] : monitor_.ui().elements(static_cast<Form>(f)))
            bind(element);
    }
    monitor_.ui().takeChanges();  // all drawn
    showMessages();
}

std::optional<Binder::Kind> Binder::kindOf(QObject* target) {
    if (qobject_cast<QAction*>(target) != nullptr)
        return Kind::Action;
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr)
        return std::nullopt;
    if (widget->isWindow())
        return Kind::Window;
    if (tabsOfPage(widget) != nullptr)
        return Kind::TabPage;
    // The first class the widget inherits decides: a check box is a button too.
    static const std::pair<const QMetaObject*, Kind> kClasses[] = {
        {&QTabWidget::staticMetaObject, Kind::Tabs},
        {&QCheckBox::staticMetaObject, Kind::CheckBox},
        {&QAbstractButton::staticMetaObject, Kind::Button},
        {&QComboBox::staticMetaObject, Kind::ComboBox},
        {&QListWidget::staticMetaObject, Kind::List},
        {&QLineEdit::staticMetaObject, Kind::LineEdit},
        {&QSpinBox::staticMetaObject, Kind::SpinBox},
        {&QGroupBox::staticMetaObject, Kind::GroupBox},
        {&QLabel::staticMetaObject, Kind::Label},
    };
    for (const auto& [metaObject, kind] : kClasses) {
        if (widget->metaObject()->inherits(metaObject))
            return kind;
    }
    if (dynamic_cast<ElementView*>(widget) != nullptr)
        return Kind::View;
    return Kind::Plain;
}

void Binder::bind(const Element& element) {
    Binding& binding = bindings_[element.index()];
    binding.element = &element;
    QObject* target = find(element.form(), QString::fromStdString(element.name()));
    const std::optional<Kind> kind = target != nullptr ? kindOf(target) : std::nullopt;
    if (!kind)
        return;
    binding.target = target;
    binding.kind = *kind;
    if (*kind == Kind::TabPage)
        binding.tabs = tabsOfPage(static_cast<QWidget*>(target));
    draw(binding);
    connectActions(binding);
}

void Binder::flush() {
    for (const Element* element : monitor_.ui().takeChanges()) {
        if (element->index() < bindings_.size())
            draw(bindings_[element->index()]);
    }
    showMessages();
}

void Binder::showMessages() {
    for (const MessageBoxRequest& message : monitor_.ui().takeMessages())
        showMessageBox(message);
}

void Binder::showMessageBox(const MessageBoxRequest& message) {
    const bool question = !message.question.empty();
    auto* box = new QMessageBox(question ? QMessageBox::Question : QMessageBox::NoIcon,
                                displayText(message.title), messageText(message.text),
                                question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                                windows_[static_cast<int>(message.owner)]);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (question) {
        // No unless the operator chooses Yes: Enter, Escape and the close box all say No.
        box->setDefaultButton(QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
        box->setWindowModality(Qt::WindowModal);
        connect(box, &QMessageBox::finished, this, [this, box, message] {
            monitor_.answer(message.owner, message.question,
                            box->clickedButton() == box->button(QMessageBox::Yes));
            flush();
        });
    }
    box->show();
}

// The widget was classified when it was bound; each kind is drawn without
// searching or casting again.
void Binder::draw(Binding& binding) {
    QObject* target = binding.target;
    if (target == nullptr)
        return;
    const Element& element = *binding.element;
    const QSignalBlocker blocker(target);
    switch (binding.kind) {
        case Kind::Action: {
            auto* action = static_cast<QAction*>(target);
            action->setText(displayText(element.caption()));
            action->setEnabled(element.enabled());
            action->setVisible(element.visible());
            return;
        }
        case Kind::Window:
            drawWindow(static_cast<QWidget*>(target), binding);
            return;
        case Kind::TabPage: {
            const int page = binding.tabs->indexOf(static_cast<QWidget*>(target));
            binding.tabs->setTabEnabled(page, element.enabled());
            binding.tabs->setTabText(page, displayText(element.caption()));
            return;
        }
        default:
            drawWidget(static_cast<QWidget*>(target), binding);
            return;
    }
}

void Binder::drawWindow(QWidget* window, Binding& binding) {
    const Element& element = *binding.element;
    window->setWindowTitle(displayText(element.caption()));
    if (element.form() == Form::Form1)
        return;
    window->setVisible(element.visible());
    if (element.visible() && binding.activations != element.activations()) {
        window->raise();
        window->activateWindow();
    }
    binding.activations = element.activations();
}

void Binder::drawWidget(QWidget* widget, Binding& binding) {
    const Element& element = *binding.element;
    widget->setVisible(element.visible());
    widget->setEnabled(element.enabled());
    switch (binding.kind) {
        case Kind::Tabs:
            static_cast<QTabWidget*>(widget)->setCurrentIndex(element.listIndex());
            break;
        case Kind::CheckBox: {
            auto* check = static_cast<QCheckBox*>(widget);
            check->setText(displayText(element.caption()));
            check->setChecked(element.value() != 0);
            break;
        }
        case Kind::Button:
            static_cast<QAbstractButton*>(widget)->setText(displayText(element.caption()));
            break;
        case Kind::ComboBox:
            drawItems(static_cast<QComboBox*>(widget), element, binding.itemsGeneration);
            break;
        case Kind::List:
            drawItems(static_cast<QListWidget*>(widget), element, binding.itemsGeneration);
            break;
        case Kind::LineEdit: {
            auto* edit = static_cast<QLineEdit*>(widget);
            const QString caption = displayText(element.caption());
            if (edit->text() != caption)
                edit->setText(caption);
            break;
        }
        case Kind::SpinBox:
            static_cast<QSpinBox*>(widget)->setValue(element.value());
            break;
        case Kind::GroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(displayText(element.caption()));
            break;
        case Kind::Label: {
            auto* label = static_cast<QLabel*>(widget);
            if (label->pixmap().isNull())
                label->setText(displayText(element.caption()));
            break;
        }
        case Kind::View:
            dynamic_cast<ElementView*>(widget)->drawElement(element);
            break;
        default:
            break;
    }
    drawBackground(widget, element.backColour());
    drawStale(widget, element.stale());
}

void Binder::connectActions(const Binding& binding) {
    const Form form = binding.element->form();
    const std::string control = binding.element->name();
    QObject* target = binding.target;
    auto run = [this](auto&& action) {
        action();
        flush();
    };

    switch (binding.kind) {
        case Kind::Action:
            connect(static_cast<QAction*>(target), &QAction::triggered, this,
                    [=, this] { run([&] { monitor_.click(form, control); }); });
            break;
        case Kind::Window:
            target->installEventFilter(this);
            break;
        case Kind::Tabs: {
            auto* tabs = static_cast<QTabWidget*>(target);
            connect(tabs, &QTabWidget::currentChanged, this, [=, this](int index) {
                run([&] { monitor_.select(form, control, index); });
                // A page the core refused shows the tab the core keeps.
                const QSignalBlocker blocker(tabs);
                tabs->setCurrentIndex(monitor_.ui()(form, control).listIndex());
            });
            break;
        }
        case Kind::CheckBox:
            connect(static_cast<QCheckBox*>(target), &QCheckBox::clicked, this, [=, this](bool on) {
                run([&] { monitor_.setValue(form, control, on ? 1 : 0); });
            });
            break;
        case Kind::Button:
            connect(static_cast<QAbstractButton*>(target), &QAbstractButton::clicked, this,
                    [=, this] { run([&] { monitor_.click(form, control); }); });
            break;
        case Kind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(target);
            connect(combo, &QComboBox::activated, this,
                    [=, this](int index) { run([&] { monitor_.select(form, control, index); }); });
            if (combo->isEditable()) {
                connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                        [=, this](const QString& text) {
                            run([&] { monitor_.editText(form, control, modelText(text)); });
                        });
            }
            break;
        }
        case Kind::List:
            connect(static_cast<QListWidget*>(target), &QListWidget::currentRowChanged, this,
                    [=, this](int row) { run([&] { monitor_.select(form, control, row); }); });
            break;
        case Kind::LineEdit:
            connect(static_cast<QLineEdit*>(target), &QLineEdit::textEdited, this,
                    [=, this](const QString& text) {
                        run([&] { monitor_.editText(form, control, modelText(text)); });
                    });
            break;
        case Kind::SpinBox:
            connect(
                static_cast<QSpinBox*>(target), &QSpinBox::valueChanged, this,
                [=, this](int value) { run([&] { monitor_.setValue(form, control, value); }); });
            break;
        default:
            break;
    }
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close)
        return QObject::eventFilter(watched, event);
    for (int f = 0; f < kFormCount; ++f) {
        if (windows_[f] != watched)
            continue;
        // The core decides what closing means; the window follows its model.
        event->ignore();
        monitor_.closeWindow(static_cast<Form>(f));
        flush();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace treld
