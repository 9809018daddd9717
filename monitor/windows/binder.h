// Draws the core's display model onto the widgets that carry the same names,
// and turns the operator's actions on those widgets into Monitor events.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "conductor/monitor.h"

class QTabWidget;

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
    // `windows` holds Form1 .. Form6; each widget that stands for a model
    // element has the element's name as objectName.
    Binder(Monitor& monitor, std::array<QWidget*, kFormCount> windows);

    // Finds each element's widget once, draws every element and connects
    // the operator's actions.
    void bindAll();

    // Draws what changed since the last call and shows pending messages.
    void flush();

    // The widget or action of an element; null when the window has none.
    QObject* find(Form form, const QString& name) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What kind of widget an element has, decided once when it is bound.
    enum class Kind {
        Action,
        Window,
        TabPage,
        Tabs,
        CheckBox,
        Button,
        ComboBox,
        List,
        LineEdit,
        SpinBox,
        GroupBox,
        Label,
        View,   // an ElementView draws the element itself
        Plain,  // visibility, enabling and colour only
    };
    struct Binding {
        const Element* element = nullptr;
        QPointer<QObject> target;  // null: the window has no such widget
        Kind kind = Kind::Plain;
        QTabWidget* tabs = nullptr;  // of a tab page
        // What the widget last showed, so lists are refilled and windows
        // raised only when the model asks again.
        int itemsGeneration = 0;
        int activations = 0;
    };

    // Nothing for an object that is neither a widget nor an action.
    static std::optional<Kind> kindOf(QObject* target);
    void bind(const Element& element);
    void draw(Binding& binding);
    void drawWindow(QWidget* window, Binding& binding);
    void drawWidget(QWidget* widget, Binding& binding);
    void connectActions(const Binding& binding);
    void showMessages();
    void showMessageBox(const MessageBoxRequest& message);

    Monitor& monitor_;
    std::array<QWidget*, kFormCount> windows_;
    std::vector<Binding> bindings_;  // by Element::index()
};

// UTF-8 model text to what a widget shows (control characters left out, bytes
// that are not UTF-8 read as the Windows code page) and typed text back.
QString displayText(const std::string& text);
std::string modelText(const QString& text);

}  // namespace treld
