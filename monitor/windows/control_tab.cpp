// The "Control" tab: the command buttons in one column, each with its
// explanation to the right; the sound state stands beside the sound pair.
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "windows/builders.h"

namespace treld {
namespace {

QLabel* label(const char* name, QWidget* page) {
    auto* widget = new QLabel(page);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

void buildControlTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(px(240));

    struct Row {
        int button;               // Command2 element; -1: a gap between groups
        const char* explanation;  // null: none on this row
    };
    const Row rows[] = {
        {0, "Label29"}, {1, "Label31"}, {2, nullptr},   {-1, nullptr},
        {3, "Label33"}, {-1, nullptr},  {6, nullptr},   {7, nullptr},
        {-1, nullptr},  {4, "Label34"}, {5, "Label35"},
    };
    int soundRow = 0;
    for (int r = 0; r < static_cast<int>(std::size(rows)); ++r) {
        const Row& row = rows[r];
        if (row.button < 0) {
            grid->setRowMinimumHeight(r, px(300));
            continue;
        }
        auto* button = new QPushButton(page);
        button->setObjectName(QStringLiteral("Command2_%1").arg(row.button));
        button->setFixedWidth(px(2400));
        grid->addWidget(button, r, 0);
        if (row.explanation != nullptr)
            grid->addWidget(label(row.explanation, page), r, 1);
        if (row.button == 6)
            soundRow = r;
    }
    grid->addWidget(label("Label36", page), soundRow, 1, 2, 1);
    grid->setRowStretch(static_cast<int>(std::size(rows)), 1);
    grid->setColumnStretch(2, 1);
}

}  // namespace treld
