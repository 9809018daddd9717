#include "windows/activity_indicator.h"

#include <QEvent>
#include <QPainter>

namespace treld {
namespace {

// As a label aligns and measures one line of plain text.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextForceLeftToRight;

}  // namespace

ActivityIndicator::ActivityIndicator(QWidget* parent) : QFrame(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ActivityIndicator::drawElement(const Element& element) {
    const QString text = displayText(element.caption());
    if (text == shown().text)
        return;
    shown_ = 1 - shown_;
    Picture& next = pictures_[shown_];
    if (next.text != text) {
        next = {text, QPixmap()};
        const int width = fontMetrics().boundingRect(QRect(), kTextFlags, text).width();
        if (width > widest_) {
            widest_ = width;
            updateGeometry();
        }
    }
    // At once: a posted update would wake the event loop once more.
    repaint();
}

QSize ActivityIndicator::sizeHint() const {
    // A label in a frame keeps half an "x" clear on either side of its text.
    const int besideText = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') : 0;
    const QMargins frame = contentsMargins();
    return {widest_ + besideText + frame.left() + frame.right(),
            fontMetrics().height() + frame.top() + frame.bottom()};
}

QPixmap ActivityIndicator::draw(const QString& text) {
    QPixmap pixmap(size() * devicePixelRatioF());
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&pixmap);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    drawFrame(&painter);
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect().adjusted(indent, 0, 0, 0), kTextFlags, text);
    return pixmap;
}

void ActivityIndicator::paintEvent(QPaintEvent* /*event*/) {
    Picture& picture = pictures_[shown_];
    if (picture.pixmap.isNull())
        picture.pixmap = draw(picture.text);
    QPainter(this).drawPixmap(0, 0, picture.pixmap);
}

void ActivityIndicator::forgetPixmaps() {
    for (Picture& picture : pictures_)
        picture.pixmap = QPixmap();
}

void ActivityIndicator::resizeEvent(QResizeEvent* event) {
    forgetPixmaps();
    QFrame::resizeEvent(event);
}

void ActivityIndicator::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
        case QEvent::EnabledChange:
            forgetPixmaps();
            break;
        default:
            break;
    }
    QFrame::changeEvent(event);
}

}  // namespace treld
