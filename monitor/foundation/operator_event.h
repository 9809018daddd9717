// What the operator did to a control, as the core's subsystems see it.
#pragma once

#include <string_view>

#include "foundation/display_model.h"

namespace treld {

struct OperatorEvent {
    enum class Kind { Click, Select, EditText, SetValue, Close, Answer };
    Kind kind;
    Form form;
    std::string_view array;  // "Command2" for the control "Command2_4"; Answer: the question
    int index = -1;          // 4 for "Command2_4"; -1 for a single control
    int number = 0;          // Select: the entry chosen; SetValue: the new value; Answer: 1 Yes
    std::string_view text;   // EditText: the new text

    bool is(ElementName element) const {
        return form == element.form && index < 0 && array == element.name;
    }
    bool in(ElementArray elements) const {
        return form == elements.form && index >= 0 && array == elements.name;
    }
};

}  // namespace treld
