// The option editor of the "User options" tab: the selectors, the number
// fields, the remembered selection and "Update STS".
#pragma once

#include "foundation/core.h"

namespace treld {

// Start-up: fills the option selectors with their value texts.
void ekranla(Core& c);

// A selector's selection changed, by the operator or by the editor load.
void onOptionSelected(Core& c, int number, int position);

// Puts the device's values, as last read, into the editor.
void loadOptionEditor(Core& c);

// "Update STS": queues the write of the operator's last choice.
void updateSts(Core& c);

}  // namespace treld
