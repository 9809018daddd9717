// Link supervision. The link is lost when the serial port in use failed or
// two exchanges in a row went unanswered; it is back at the next reply. Each
// change is a PC event line, written once: 200 "Link lost COM1" and 201
// "Link restored COM1" ("Remote STS" and the address for a TCP station). A
// lost link forgets every cached reply and blanks the panels; while it lasts,
// ReopenTimer opens a failed port again every 5 s and mails the loss at 30 s.
#pragma once

#include "status/status_core.h"

namespace treld {

inline constexpr Int16 kLinkLostEvent = 200;
inline constexpr Int16 kLinkRestoredEvent = 201;
inline constexpr int kReopenMs = 5000;
inline constexpr Int16 kLossMailTicks = 6;  // 30 s of ReopenTimer

// After every event that can change the link's health.
void watchLink(StatusCore& c);

// The records recovered after a gap (LogRecovery's text), in one message
// when mail is enabled.
void mailRecovered(StatusCore& c, const std::string& recorded);

// ReopenTimer, every 5 s while the link is lost.
void onReopenTimer(StatusCore& c);

}  // namespace treld
