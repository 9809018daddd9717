// The "Control" tab: the command buttons in one column, each with its
// explanation to the right; the sound state stands beside the sound pair.
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "device/device_controls.h"
#include "status/status_controls.h"
#include "windows/builders.h"

namespace treld {

void buildControlTab(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(px(240));

    struct Row {
        int button;                      // command button; -1: a gap between groups
        const ElementName* explanation;  // null: none on this row
    };
    const Row rows[] = {
        {0, &kXferToSource1Text},
        {1, &kXferToSource2Text},
        {2, nullptr},
        {-1, nullptr},
        {3, &kAutomaticXferText},
        {-1, nullptr},
        {6, nullptr},
        {7, nullptr},
        {-1, nullptr},
        {4, &kOutputInhibitText},
        {5, &kInhibitResetText},
    };
    int soundRow = 0;
    for (int r = 0; r < static_cast<int>(std::size(rows)); ++r) {
        const Row& row = rows[r];
        if (row.button < 0) {
            grid->setRowMinimumHeight(r, px(300));
            continue;
        }
        auto* button = named(new QPushButton(page), kCommandButtons, row.button);
        button->setFixedWidth(px(2400));
        grid->addWidget(button, r, 0);
        if (row.explanation != nullptr)
            grid->addWidget(named(new QLabel(page), *row.explanation), r, 1);
        if (row.button == 6)
            soundRow = r;
    }
    grid->addWidget(named(new QLabel(page), kSoundState), soundRow, 1, 2, 1);
    grid->setRowStretch(static_cast<int>(std::size(rows)), 1);
    grid->setColumnStretch(2, 1);
}

}  // namespace treld
