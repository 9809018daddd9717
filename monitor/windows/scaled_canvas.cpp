#include "windows/scaled_canvas.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace treld {

ScaledCanvas::ScaledCanvas(QSize design, double minimumScale, QWidget* parent)
    : QWidget(parent), design_(design) {
    setMinimumSize((QSizeF(design) * minimumScale).toSize());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ScaledCanvas::sizeHint() const {
    return design_;
}

void ScaledCanvas::rememberDesign() {
    const QFontInfo font(this->font());
    designFontPixels_ = font.pixelSize();
    for (QWidget* widget : findChildren<QWidget*>())
        placed_.push_back({widget, widget->geometry()});
}

void ScaledCanvas::resizeEvent(QResizeEvent* event) {
    if (placed_.empty())
        rememberDesign();
    scale_ = std::min(double(event->size().width()) / design_.width(),
                      double(event->size().height()) / design_.height());
    // The drawing stands in the middle of whatever room is left over.
    const QPoint offset((event->size().width() - design_.width() * scale_) / 2,
                        (event->size().height() - design_.height() * scale_) / 2);
    auto scaled = [this](int value) { return int(std::lround(value * scale_)); };
    for (const Placed& placed : placed_) {
        if (placed.widget == nullptr)
            continue;
        const QRect& d = placed.design;
        // A line keeps at least one pixel of width.
        QRect rect(scaled(d.x()), scaled(d.y()), std::max(1, scaled(d.width())),
                   std::max(1, scaled(d.height())));
        if (placed.widget->parentWidget() == this)
            rect.translate(offset);
        placed.widget->setGeometry(rect);
    }
    QFont font = this->font();
    font.setPixelSize(std::max(1, int(std::lround(designFontPixels_ * scale_))));
    setFont(font);
    QWidget::resizeEvent(event);
}

}  // namespace treld
