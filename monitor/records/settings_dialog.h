// The Settings dialog Form2: shows the configuration held in memory and, on
// Save, applies it and rewrites sts.cfg.
#pragma once

#include <string_view>

#include "foundation/core.h"

namespace treld {

void declareSettingsElements(DisplayModel& ui);

// File menu "Settings": loads the controls from memory and shows the
// dialog; when it is already open it only comes to the front.
void mnset_Click(Core& c);

// "Save": a port field or port choice that is not valid is refused with a
// message and the dialog stays open, nothing changed. So is a file that
// cannot be written: memory and file change together or not at all.
void Form2_Save(Core& c);

// "Cancel": closes the dialog; nothing is stored.
void Form2_Cancel(Core& c);

// "e-mail test": the mail program with a test message; nothing is saved.
void Form2_MailTest(Core& c);

// Combo1: an entry chosen from the list, or text typed into it.
void Combo1_Select(Core& c, int index);
void Combo1_EditText(Core& c, std::string_view text);

}  // namespace treld
