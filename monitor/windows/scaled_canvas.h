// A drawing of widgets at fixed positions (the Measures tab's diagram) that
// grows and shrinks as a whole with the room it gets: every widget's place
// and size and the type scale by one factor, so the proportions stay.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace treld {

class ScaledCanvas : public QWidget {
    Q_OBJECT

  public:
    // `design`: the drawing's size in pixels at scale 1; the children are
    // placed in those pixels. `minimumScale`: how far it may shrink.
    ScaledCanvas(QSize design, double minimumScale, QWidget* parent);

    double scale() const { return scale_; }
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;  // within its parent, at scale 1
    };
    void rememberDesign();

    QSize design_;
    double designFontPixels_ = 0;
    std::vector<Placed> placed_;
    double scale_ = 1;
};

}  // namespace treld
