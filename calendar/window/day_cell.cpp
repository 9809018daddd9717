#include "day_cell.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace kirnal {

namespace {

// An arrow with a small calendar sheet beside its tip, drawn once for all cells.
QCursor dayCellCursor() {
    static const QCursor cursor = [] {
        QPixmap image(32, 32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setPen(Qt::white);
        painter.setBrush(Qt::black);
        painter.drawPolygon(
            QPolygon({{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}}));
        painter.setPen(Qt::black);
        painter.setBrush(QColor(192, 255, 255));
        painter.drawRect(13, 14, 14, 12);
        painter.fillRect(13, 14, 15, 3, QColor(255, 192, 192));
        return QCursor(image, 0, 0);
    }();
    return cursor;
}

}  // namespace

DayCell::DayCell(int cell, QWidget* parent) : QLabel(parent), cell_(cell) {
    setObjectName(QStringLiteral("Label2_%1").arg(cell));
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QFont font = this->font();
    font.setBold(true);
    font.setPointSize(12);
    setFont(font);
    setCursor(dayCellCursor());
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void DayCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked(cell_);
    }
}

}  // namespace kirnal
