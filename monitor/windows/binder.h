// Draws the core's display model onto the widgets that carry the same names,
// and turns the operator's actions on those widgets into Monitor events.
#pragma once

#include <QObject>
#include <QWidget>
#include <array>

#include "conductor/monitor.h"

namespace treld {

// A widget that draws its element itself (the trend charts).
class ElementView {
  public:
    virtual ~ElementView() = default;
    virtual void drawElement(const Element& element) = 0;
};

class Binder : public QObject {
    Q_OBJECT
  public:
    // `windows` holds Form1 .. Form5; each widget that stands for a model
    // element has the element's name as objectName.
    Binder(Monitor& monitor, std::array<QWidget*, kFormCount> windows);

    // Draws every element once and connects the operator's actions.
    void bindAll();

    // Draws what changed since the last call and shows pending messages.
    void flush();

    // The widget or action of an element; null when the window has none.
    QObject* find(Form form, const QString& name) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw(const Element& element);
    void showMessageBox(const MessageBoxRequest& message);
    void connectActions(const Element& element);

    Monitor& monitor_;
    std::array<QWidget*, kFormCount> windows_;
};

// 8-bit model text to what a widget shows (control characters left out) and back.
QString displayText(const std::string& text);
std::string modelText(const QString& text);

}  // namespace treld
