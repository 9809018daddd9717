#include "windows/artwork.h"

#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace treld {

QPixmap switchPicture(bool closed) {
    constexpr int kSize = 150;
    const QPointF centre(kSize / 2.0, kSize / 2.0 + 8);
    QPixmap picture(kSize, kSize);
    picture.fill(closed ? QColor(156, 207, 106) : QColor(214, 38, 42));

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // The figures of the two positions.
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(10, 6, 40, 34), Qt::AlignCenter, "0");
    p.drawText(QRectF(kSize - 50, 6, 40, 34), Qt::AlignCenter, "1");

    // The knob: a dark grey disc with a lighter rim.
    QRadialGradient shade(centre - QPointF(12, 12), 60);
    shade.setColorAt(0, QColor(110, 110, 110));
    shade.setColorAt(1, QColor(45, 45, 45));
    p.setPen(QPen(QColor(25, 25, 25), 3));
    p.setBrush(shade);
    p.drawEllipse(centre, 44, 44);

    // The handle runs from the knob's centre down to the side of its position.
    const double angle = (closed ? 135.0 : 45.0) * M_PI / 180.0;
    const QPointF tip = centre + QPointF(std::cos(angle) * 62, std::sin(angle) * 62);
    p.setPen(QPen(QColor(20, 20, 20), 18, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, tip);
    p.setPen(QPen(QColor(150, 150, 150), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + (tip - centre) * 0.85);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(centre, 7, 7);
    return picture;
}

QPixmap lampPicture(bool red) {
    QPixmap picture(30, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lit = red ? QColor(235, 30, 30) : QColor(30, 200, 40);
    QRadialGradient glow(QPointF(12, 5), 16);
    glow.setColorAt(0, lit.lighter(170));
    glow.setColorAt(1, lit.darker(120));
    p.setPen(QPen(lit.darker(200), 1));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(2.5, 1.5, 25, 13), 6, 6);
    return picture;
}

}  // namespace treld
