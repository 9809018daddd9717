// The send and receive indicators: one line of text, drawn as a label draws it,
// that changes with every exchange with the device.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <array>

#include "windows/binder.h"

namespace treld {

// A label's new text lays the whole window out again and shapes the text
// anew, which at several changes a second costs far more than the exchange
// itself. Here a new text repaints this widget alone: the size hint only grows,
// to the widest text shown so far, so the window is not laid out again; the
// widget covers its own background, so nothing behind it is drawn; and each of
// the two texts it alternates between is drawn once into a picture that is
// then only copied.
class ActivityIndicator : public QFrame, public ElementView {
  public:
    explicit ActivityIndicator(QWidget* parent);

    QString text() const { return shown().text; }
    void drawElement(const Element& element) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Picture {
        QString text;
        QPixmap pixmap;  // null until painted at the current size and look
    };
    const Picture& shown() const { return pictures_[shown_]; }
    // The whole widget showing `text`, as a label with this frame draws it.
    QPixmap draw(const QString& text);
    void forgetPixmaps();

    std::array<Picture, 2> pictures_;  // the text shown and the one before
    int shown_ = 0;
    int widest_ = 0;  // pixels, of every text shown so far
};

}  // namespace treld
