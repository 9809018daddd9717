#include "foundation/display_model.h"

#include <charconv>
#include <stdexcept>

namespace treld {

void Element::changed() {
    ++writes_;
    if (!pending_ && model_ != nullptr) {
        pending_ = true;
        model_->changes_.push_back(this);
    }
}

void Element::setCaption(std::string_view caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    changed();
}

void Element::setVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed();
}

void Element::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    changed();
}

void Element::setBackColour(std::uint32_t colour) {
    if (backColour_ == colour)
        return;
    backColour_ = colour;
    changed();
}

void Element::addItem(std::string_view item) {
    items_.emplace_back(item);
    changed();
}

void Element::clearItems() {
    if (items_.empty() && listIndex_ == -1)
        return;
    items_.clear();
    listIndex_ = -1;
    ++itemsGeneration_;
    changed();
}

void Element::setListIndex(int index) {
    if (listIndex_ == index)
        return;
    listIndex_ = index;
    changed();
}

void Element::setValue(int value) {
    if (value_ == value)
        return;
    value_ = value;
    changed();
}

void Element::setStale(bool stale) {
    if (stale_ == stale)
        return;
    stale_ = stale;
    changed();
}

void Element::activate() {
    visible_ = true;
    ++activations_;
    changed();
}

Element& DisplayModel::declare(Form form, std::string name, const Design& design) {
    auto& elements = forms_[static_cast<int>(form)];
    auto [it, inserted] = elements.try_emplace(name);
    if (!inserted)
        throw std::logic_error("display element declared twice: " + name);
    Element& element = it->second;
    byName_[static_cast<int>(form)].emplace(it->first, &element);
    element.model_ = this;
    element.form_ = form;
    element.index_ = elementCount_++;
    element.name_ = std::move(name);
    element.caption_ = design.caption;
    element.visible_ = design.visible;
    element.backColour_ = design.backColour;
    element.enabled_ = design.enabled;
    return element;
}

std::string ElementArray::nameOf(int index) const {
    return std::string(name) + "_" + std::to_string(index);
}

SplitName splitElementName(std::string_view name) {
    const std::size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos)
        return {name};
    int index = -1;
    const char* first = name.data() + underscore + 1;
    const char* last = name.data() + name.size();
    if (std::from_chars(first, last, index).ptr != last)
        return {name};
    return {name.substr(0, underscore), index};
}

Element& DisplayModel::declare(ElementName element, const Design& design) {
    return declare(element.form, std::string(element.name), design);
}

Element& DisplayModel::declare(ElementArray array, int index, const Design& design) {
    return declare(array.form, array.nameOf(index), design);
}

Element& DisplayModel::operator()(ElementArray array, int index) {
    return (*this)(array.form, array.nameOf(index));
}

Element& DisplayModel::operator()(Form form, std::string_view name) {
    const auto& elements = byName_[static_cast<int>(form)];
    auto it = elements.find(name);
    if (it == elements.end())
        throw std::out_of_range("no display element " + std::string(name));
    return *it->second;
}

const Element& DisplayModel::operator()(Form form, std::string_view name) const {
    return const_cast<DisplayModel&>(*this)(form, name);
}

bool DisplayModel::has(Form form, std::string_view name) const {
    return byName_[static_cast<int>(form)].contains(name);
}

std::vector<Element*> DisplayModel::takeChanges() {
    std::vector<Element*> changes;
    changes.swap(changes_);
    for (Element* element : changes)
        element->pending_ = false;
    return changes;
}

void DisplayModel::showMessage(Form owner, std::string title, std::string text) {
    messages_.push_back({owner, std::move(title), std::move(text), {}});
}

void DisplayModel::ask(Form owner, std::string question, std::string title, std::string text) {
    messages_.push_back({owner, std::move(title), std::move(text), std::move(question)});
}

std::vector<MessageBoxRequest> DisplayModel::takeMessages() {
    std::vector<MessageBoxRequest> messages;
    messages.swap(messages_);
    return messages;
}

}  // namespace treld
