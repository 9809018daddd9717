#include "takvim_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "day_cell.h"

namespace kirnal {

namespace {

QString fromSystem(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colourOf(Background background, const QPalette& palette) {
    switch (background) {
        case Background::LightRed:
            return QColor(255, 192, 192);
        case Background::LightYellow:
            return QColor(255, 255, 192);
        case Background::LightCyan:
            return QColor(192, 255, 255);
        case Background::ButtonFace:
            break;
    }
    return palette.color(QPalette::Button);
}

void paintBackground(QLabel* label, Background background) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colourOf(background, QApplication::palette()));
    label->setPalette(palette);
}

template <typename Widget>
Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

std::string systemMonthCaption(YearMonth month) {
    const QString caption =
        QLocale::system().standaloneMonthName(month.month, QLocale::LongFormat) +
        QStringLiteral(" %1").arg(month.year, 4, 10, QLatin1Char('0'));
    return caption.toLocal8Bit().toStdString();
}

TakvimWindow::TakvimWindow(CalendarView view, QWidget* parent)
    : QWidget(parent), view_(std::move(view)) {
    setObjectName(QStringLiteral("TAKVIM"));
    auto* grid = new QGridLayout(this);
    for (int weekday = 0; weekday < 7; ++weekday) {
        label1_[weekday] = named(new QLabel(this), QStringLiteral("Label1_%1").arg(weekday));
        label1_[weekday]->setAlignment(Qt::AlignCenter);
        label1_[weekday]->setAutoFillBackground(true);
        grid->addWidget(label1_[weekday], 0, weekday);
    }
    for (int cell = 1; cell <= kLastCell; ++cell) {
        label2_[cell] = new DayCell(cell, this);
        label2_[cell]->setMinimumHeight(32);
        grid->addWidget(label2_[cell], 1 + (cell - 1) / 7, (cell - 1) % 7);
        connect(label2_[cell], &DayCell::clicked, this, &TakvimWindow::clickCell);
    }
    command4_ = named(new QPushButton(this), QStringLiteral("Command4"));
    command3_ = named(new QPushButton(this), QStringLiteral("Command3"));
    grid->addWidget(command4_, 1, 7);
    grid->addWidget(command3_, 2, 7);

    label9_ = named(new QLabel(this), QStringLiteral("Label9"));
    auto* command2 =
        named(new QPushButton(QStringLiteral("<<<"), this), QStringLiteral("Command2"));
    label4_ = named(new QLabel(this), QStringLiteral("Label4"));
    label4_->setAlignment(Qt::AlignCenter);
    auto* command1 =
        named(new QPushButton(QStringLiteral(">>>"), this), QStringLiteral("Command1"));
    grid->addWidget(label9_, 7, 0, 1, 3);
    grid->addWidget(command2, 7, 3);
    grid->addWidget(label4_, 7, 4, 1, 2);
    grid->addWidget(command1, 7, 6);

    list1_ = named(new QListWidget(this), QStringLiteral("List1"));
    list1_->setUniformItemSizes(true);
    grid->addWidget(list1_, 8, 0, 1, 8);
    for (int column = 0; column < 7; ++column) {
        grid->setColumnStretch(column, 1);
        grid->setColumnMinimumWidth(column, 72);
    }

    connect(command2, &QPushButton::clicked, this, [this] {
        view_.showPreviousMonth();
        render();
    });
    connect(command1, &QPushButton::clicked, this, [this] {
        view_.showNextMonth();
        render();
    });
    connect(command4_, &QPushButton::clicked, this, &TakvimWindow::askClearMonth);
    connect(command3_, &QPushButton::clicked, this, &QWidget::close);

    const DisplayModel& model = view_.model();
    setWindowTitle(fromSystem(model.windowCaption));
    command3_->setText(fromSystem(model.command3));
    command4_->setText(fromSystem(model.command4));
    for (int weekday = 0; weekday < 7; ++weekday) {
        label1_[weekday]->setText(fromSystem(model.label1[weekday].caption));
        paintBackground(label1_[weekday], model.label1[weekday].background);
    }
    render();
}

void TakvimWindow::clickCell(int cell) {
    view_.clickCell(cell);
    render();
}

void TakvimWindow::askClearMonth() {
    const LanguageTexts& texts = view_.texts();
    const auto answer =
        QMessageBox::question(this, fromSystem(texts.text(LanguageTexts::kClearMonthTitle)),
                              fromSystem(texts.text(LanguageTexts::kClearMonthQuestion)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    view_.clearMonth();
    render();
}

void TakvimWindow::render() {
    const DisplayModel& model = view_.model();
    for (int cell = 1; cell <= kLastCell; ++cell) {
        const CellView& shown = model.label2[cell];
        DayCell* label = label2_[cell];
        const QString caption = fromSystem(shown.caption);
        if (label->text() != caption) {
            label->setText(caption);
        }
        if (label->isVisibleTo(this) != shown.visible) {
            label->setVisible(shown.visible);
        }
        label->setFrameStyle(QFrame::Panel | (shown.raised ? QFrame::Raised : QFrame::Plain));
        label->setLineWidth(shown.raised ? 2 : 1);
        paintBackground(label, shown.background);
    }
    label4_->setText(fromSystem(model.label4));
    label9_->setText(fromSystem(model.label9));
    QStringList items;
    items.reserve(static_cast<qsizetype>(view_.model().list1.size()));
    for (const std::string& text : view_.model().list1) {
        items.append(fromSystem(text));
    }
    list1_->clear();
    list1_->addItems(items);
}

}  // namespace kirnal
