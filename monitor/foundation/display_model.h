// What the monitor shows, as named elements of its windows. The Qt layer
// draws these and finds its widgets by the same names; tests read them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace treld {

// Form6 is the Trends window, Form7 the operator's guide.
enum class Form { Form1, Form2, Form3, Form4, Form5, Form6, Form7 };
inline constexpr int kFormCount = 7;

// Colours in blue-green-red order (0x00BBGGRR).
inline constexpr std::uint32_t kButtonFace = 0x8000000F;    // the system's button face
inline constexpr std::uint32_t kDesignColour = 0xFFFFFFFF;  // leave the widget's own colour
inline constexpr std::uint32_t kRed = 0x000000FF;
inline constexpr std::uint32_t kGreen = 0x0000FF00;
inline constexpr std::uint32_t kLightGreen = 0x00C0FFC0;
inline constexpr std::uint32_t kLightYellow = 0x00C0FFFF;

class DisplayModel;

// A control's name in its window. Each subsystem declares the names of the
// elements it owns as constants of this kind, and the window builders name
// their widgets from the same constants.
struct ElementName {
    Form form = Form::Form1;
    std::string_view name;

    bool operator==(const ElementName&) const = default;
};

// A control array: its element i is named "<name>_<i>" ("Command2_4").
struct ElementArray {
    Form form;
    std::string_view name;

    std::string nameOf(int index) const;
};

// The inverse of ElementArray::nameOf: "Command2_4" is element 4 of the
// array Command2; any other name is a single control (index -1).
struct SplitName {
    std::string_view array;
    int index = -1;
};
SplitName splitElementName(std::string_view name);

// One control: a label, button, frame, list, line, picture, tab page or the
// window itself. Every setter that changes a value counts one write and
// reports the element to the Qt layer; a setter that changes nothing does
// neither, so nothing redraws without a reason.
class Element {
  public:
    const std::string& name() const { return name_; }
    Form form() const { return form_; }
    // Place in the order of declaration over all windows, from 0, so that a
    // viewer can keep what it needs per element in an array.
    std::size_t index() const { return index_; }

    const std::string& caption() const { return caption_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    std::uint32_t backColour() const { return backColour_; }
    const std::vector<std::string>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    int value() const { return value_; }
    // What it shows is the last the device reported, no longer live: drawn
    // grey, neither green nor red, until a reply clears it.
    bool stale() const { return stale_; }
    // Counts clears of the item list, so a viewer knows to redraw it whole.
    int itemsGeneration() const { return itemsGeneration_; }
    // Counts requests to bring a window to the front.
    int activations() const { return activations_; }
    int writes() const { return writes_; }

    void setCaption(std::string_view caption);
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    void setBackColour(std::uint32_t colour);
    void addItem(std::string_view item);
    void clearItems();
    void setListIndex(int index);
    void setValue(int value);
    void setStale(bool stale);
    void activate();  // show and bring to the front

  private:
    friend class DisplayModel;
    void changed();

    DisplayModel* model_ = nullptr;
    Form form_ = Form::Form1;
    std::size_t index_ = 0;
    std::string name_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool stale_ = false;
    std::uint32_t backColour_ = kDesignColour;
    std::vector<std::string> items_;
    int listIndex_ = -1;
    int value_ = 0;
    int itemsGeneration_ = 0;
    int activations_ = 0;
    int writes_ = 0;
    bool pending_ = false;
};

// Design values of an element, given when it is declared.
struct Design {
    std::string caption;
    bool visible = true;
    std::uint32_t backColour = kDesignColour;
    bool enabled = true;
};

// A message box over its owner window: "OK" only, or, with a question
// name, "Yes" and "No" with "No" the default; the answer comes back as
// Monitor::answer(owner, question, yes).
struct MessageBoxRequest {
    Form owner;
    std::string title;
    std::string text;
    std::string question;
};

class DisplayModel {
  public:
    DisplayModel() = default;
    DisplayModel(const DisplayModel&) = delete;
    DisplayModel& operator=(const DisplayModel&) = delete;

    // Declares an element with its design values. Declaring a name twice is
    // a programming error.
    Element& declare(Form form, std::string name, const Design& design = {});
    Element& declare(ElementName element, const Design& design = {});
    Element& declare(ElementArray array, int index, const Design& design = {});

    // The element of that name; asking for an undeclared one is a
    // programming error (std::out_of_range).
    Element& operator()(Form form, std::string_view name);
    const Element& operator()(Form form, std::string_view name) const;
    Element& operator()(ElementName element) { return (*this)(element.form, element.name); }
    Element& operator()(ElementArray array, int index);
    bool has(Form form, std::string_view name) const;
    std::size_t elementCount() const { return elementCount_; }

    const std::map<std::string, Element, std::less<>>& elements(Form form) const {
        return forms_[static_cast<int>(form)];
    }

    // The elements changed since the last call, each once, in order of first change.
    std::vector<Element*> takeChanges();

    void showMessage(Form owner, std::string title, std::string text);
    void ask(Form owner, std::string question, std::string title, std::string text);
    std::vector<MessageBoxRequest> takeMessages();

  private:
    friend class Element;
    std::map<std::string, Element, std::less<>> forms_[kFormCount];
    // The same elements hashed by name: the poll cycle looks up several on
    // every exchange, and a tree walk compares a string at every level.
    std::unordered_map<std::string_view, Element*> byName_[kFormCount];
    std::size_t elementCount_ = 0;
    std::vector<Element*> changes_;
    std::vector<MessageBoxRequest> messages_;
};

}  // namespace treld
