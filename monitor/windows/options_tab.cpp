// The "User options" tab: one row per option with its caption, the value the
// device holds and the editor, and "Update STS" below the editors.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "device/device_controls.h"
#include "device/option_table.h"
#include "windows/builders.h"
#include "windows/scrolling_rows.h"

namespace treld {
namespace {

// Options 2 and 4: the number field with its up-down to the right.
QWidget* numberEditor(int n, QWidget* page) {
    auto* editor = new QWidget(page);
    auto* row = new QHBoxLayout(editor);
    row->setContentsMargins(0, 0, 0, 0);
    auto* field = named(new QLabel(editor), kOptionNumbers, n);
    field->setFrameShape(QFrame::StyledPanel);
    field->setFrameShadow(QFrame::Sunken);
    row->addWidget(field, 1);
    auto* upDown = named(new QSpinBox(editor), kOptionUpDowns, n);
    upDown->setRange(0, 999);
    upDown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    row->addWidget(upDown);
    return editor;
}

}  // namespace

void buildOptionsTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* page = scrollingRows(layout);  // thirteen rows

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(px(240));
    for (const OptionSpec& option : kOptionTable) {
        const int n = option.number;
        grid->addWidget(named(new QLabel(page), kOptionCaptions, n), n, 0);
        auto* value = named(new QLabel(page), kOptionValues, n);
        value->setFrameShape(QFrame::StyledPanel);
        value->setFrameShadow(QFrame::Sunken);
        value->setMinimumWidth(px(1800));
        grid->addWidget(value, n, 1);
        QWidget* editor = option.kind == OptionKind::Choice
                              ? named(new QComboBox(page), kOptionSelectors, n)
                              : numberEditor(n, page);
        editor->setMinimumWidth(px(2200));
        grid->addWidget(editor, n, 2);
    }
    grid->addWidget(named(new QPushButton(page), kUpdateSts), kOptionCount, 2);
    grid->setRowStretch(kOptionCount + 1, 1);
    grid->setColumnStretch(3, 1);
}

}  // namespace treld
