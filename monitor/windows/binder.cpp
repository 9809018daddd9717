#include "windows/binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <ranges>

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

void drawItems(QListWidget* list, const Element& element) {
    const auto& items = element.items();
    const bool appended = list->property("itemsGeneration").toInt() == element.itemsGeneration() &&
                          list->count() <= static_cast<int>(items.size());
    if (!appended)
        list->clear();
    for (std::size_t i = list->count(); i < items.size(); ++i)
        list->addItem(displayText(items[i]));
    list->setProperty("itemsGeneration", element.itemsGeneration());
    list->setCurrentRow(element.listIndex());
}

void drawItems(QComboBox* combo, const Element& element) {
    const auto& items = element.items();
    if (combo->count() != static_cast<int>(items.size()) ||
        combo->property("itemsGeneration").toInt() != element.itemsGeneration()) {
        combo->clear();
        for (const std::string& item : items)
            combo->addItem(displayText(item));
        combo->setProperty("itemsGeneration", element.itemsGeneration());
    }
    combo->setCurrentIndex(element.listIndex());
    if (combo->isEditable() && element.listIndex() < 0) {
        combo->setEditText(displayText(element.caption()));
    }
}

}  // namespace

QString displayText(const std::string& text) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (unsigned char c : text) {
        if (c >= 0x20)
            shown += QChar(c);
    }
    return shown;
}

// A message keeps its line breaks; other control characters go as elsewhere.
QString messageText(const std::string& text) {
    QStringList lines;
    for (const auto line : std::views::split(text, '\n'))
        lines << displayText(std::string(line.begin(), line.end()));
    return lines.join('\n');
}

std::string modelText(const QString& text) {
    return text.toLatin1().toStdString();
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
    for (int f = 0; f < kFormCount; ++f) {
        if (windows_[f] == nullptr)
            continue;
        for (const auto& [name, element] : monitor_.ui().elements(static_cast<Form>(f))) {
            draw(element);
            connectActions(element);
        }
    }
    monitor_.ui().takeChanges();
    flush();
}

void Binder::flush() {
    for (const Element* element : monitor_.ui().takeChanges())
        draw(*element);
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

void Binder::draw(const Element& element) {
    QObject* target = find(element.form(), QString::fromStdString(element.name()));
    if (target == nullptr)
        return;
    const QString caption = displayText(element.caption());
    const QSignalBlocker blocker(target);

    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(caption);
        action->setEnabled(element.enabled());
        action->setVisible(element.visible());
        return;
    }
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr)
        return;

    if (widget->isWindow()) {
        widget->setWindowTitle(caption);
        if (element.form() != Form::Form1) {
            widget->setVisible(element.visible());
            if (element.visible() &&
                widget->property("activations").toInt() != element.activations()) {
                widget->raise();
                widget->activateWindow();
            }
            widget->setProperty("activations", element.activations());
        }
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(
            widget->parentWidget() ? widget->parentWidget()->parentWidget() : nullptr);
        tabs != nullptr && tabs->indexOf(widget) >= 0) {
        tabs->setTabEnabled(tabs->indexOf(widget), element.enabled());
        tabs->setTabText(tabs->indexOf(widget), caption);
        return;
    }
    widget->setVisible(element.visible());
    widget->setEnabled(element.enabled());
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        tabs->setCurrentIndex(element.listIndex());
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setText(caption);
        check->setChecked(element.value() != 0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(caption);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        drawItems(combo, element);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        drawItems(list, element);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != caption)
            edit->setText(caption);
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        spin->setValue(element.value());
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->pixmap().isNull())
            label->setText(caption);
    } else if (auto* view = dynamic_cast<ElementView*>(widget)) {
        view->drawElement(element);
    }
    drawBackground(widget, element.backColour());
}

void Binder::connectActions(const Element& element) {
    const Form form = element.form();
    const QString name = QString::fromStdString(element.name());
    QObject* target = find(form, name);
    if (target == nullptr)
        return;
    const std::string control = element.name();
    auto run = [this](auto&& action) {
        action();
        flush();
    };

    if (auto* action = qobject_cast<QAction*>(target)) {
        connect(action, &QAction::triggered, this,
                [=, this] { run([&] { monitor_.click(form, control); }); });
    } else if (auto* widget = qobject_cast<QWidget*>(target); widget && widget->isWindow()) {
        widget->installEventFilter(this);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(target)) {
        connect(tabs, &QTabWidget::currentChanged, this, [=, this](int index) {
            run([&] { monitor_.select(form, control, index); });
            // A page the core refused shows the tab the core keeps.
            const QSignalBlocker blocker(tabs);
            tabs->setCurrentIndex(monitor_.ui()(form, control).listIndex());
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(target)) {
        connect(check, &QCheckBox::clicked, this,
                [=, this](bool on) { run([&] { monitor_.setValue(form, control, on ? 1 : 0); }); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        connect(button, &QAbstractButton::clicked, this,
                [=, this] { run([&] { monitor_.click(form, control); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
        connect(combo, &QComboBox::activated, this,
                [=, this](int index) { run([&] { monitor_.select(form, control, index); }); });
        if (combo->isEditable()) {
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [=, this](const QString& text) {
                        run([&] { monitor_.editText(form, control, modelText(text)); });
                    });
        }
    } else if (auto* list = qobject_cast<QListWidget*>(target)) {
        connect(list, &QListWidget::currentRowChanged, this,
                [=, this](int row) { run([&] { monitor_.select(form, control, row); }); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        connect(edit, &QLineEdit::textEdited, this, [=, this](const QString& text) {
            run([&] { monitor_.editText(form, control, modelText(text)); });
        });
    } else if (auto* spin = qobject_cast<QSpinBox*>(target)) {
        connect(spin, &QSpinBox::valueChanged, this,
                [=, this](int value) { run([&] { monitor_.setValue(form, control, value); }); });
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
