// The Settings dialog Form2: shows the configuration held in memory and, on
// Save, applies it and rewrites sts.cfg.
#pragma once

#include <string_view>

#include "records/records_core.h"

namespace treld {

inline constexpr ElementName kSettingsDialog{Form::Form2, "Form2"};
// "Demo" or a serial port, chosen or typed.
inline constexpr ElementName kPortChoice{Form::Form2, "Combo1"};
// One box per value of sts.cfg.
inline constexpr ElementName kSenderAddressBox{Form::Form2, "Text1"};
inline constexpr ElementName kRecipientAddress1Box{Form::Form2, "Text2"};
inline constexpr ElementName kSmtpHostBox{Form::Form2, "Text3"};
inline constexpr ElementName kSmtpUserNameBox{Form::Form2, "Text4"};
inline constexpr ElementName kSmtpPasswordBox{Form::Form2, "Text5"};
inline constexpr ElementName kSenderNameBox{Form::Form2, "Text6"};
inline constexpr ElementName kRecipientName1Box{Form::Form2, "Text7"};
inline constexpr ElementName kRecipientAddress2Box{Form::Form2, "Text8"};
inline constexpr ElementName kRecipientName2Box{Form::Form2, "Text9"};
inline constexpr ElementName kRecipientAddress3Box{Form::Form2, "Text10"};
inline constexpr ElementName kRecipientName3Box{Form::Form2, "Text11"};
inline constexpr ElementName kPop3HostBox{Form::Form2, "Text12"};
inline constexpr ElementName kMailSubjectBox{Form::Form2, "Text13"};
inline constexpr ElementName kStationNameBox{Form::Form2, "Text14"};
inline constexpr ElementName kRemoteIp1Box{Form::Form2, "Text15"};
inline constexpr ElementName kRemoteIp2Box{Form::Form2, "Text16"};
inline constexpr ElementName kRemoteIp3Box{Form::Form2, "Text17"};
inline constexpr ElementName kRemotePortBox{Form::Form2, "Text18"};
inline constexpr ElementName kEmailEnableBox{Form::Form2, "Check1"};
inline constexpr ElementName kAuthenticationBox{Form::Form2, "Check2"};
inline constexpr ElementName kPopAuthenticationBox{Form::Form2, "Check3"};
inline constexpr ElementName kSaveSettings{Form::Form2, "Command1"};
inline constexpr ElementName kMailTest{Form::Form2, "Command2"};
inline constexpr ElementName kCancelSettings{Form::Form2, "Command3"};

void declareSettingsElements(DisplayModel& ui);

// File menu "Settings": loads the controls from memory and shows the
// dialog; when it is already open it only comes to the front.
void showSettingsDialog(RecordsCore& c);

// "Save": a port field or port choice that is not valid is refused with a
// message and the dialog stays open, nothing changed. So is a file that
// cannot be written: memory and file change together or not at all. Another
// serial port is opened at once, in place of the old one.
void saveSettings(RecordsCore& c);

// The dialog's mail fields hold something else than the settings in memory,
// which the mail program reads from sts.cfg.
bool mailSettingsUnsaved(RecordsCore& c);

// `text` with each sts.cfg key of a field replaced by the quoted words of its
// row in the dialog.
std::string inDialogWords(std::string text);

// Label24 at the foot of the main window: "Demo" or "com" and the port, from
// the start and after each Save.
void showLinkKind(RecordsCore& c);

// "Cancel": closes the dialog; nothing is stored.
void closeSettingsDialog(RecordsCore& c);

// Combo1: an entry chosen from the list, or text typed into it.
void choosePortEntry(RecordsCore& c, int index);
void matchTypedPort(RecordsCore& c, std::string_view text);

}  // namespace treld
