// Drives a Monitor on a FakePlatform through virtual time, where a 3 s wait costs nothing.
// Tests act as the operator (click ...), the device (sts), a relay client (ask) or the
// remote station's relay server (the same sts, over TCP).
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conductor/monitor.h"
#include "device.h"
#include "device/device_controls.h"
#include "link/demo_table.h"
#include "link/measurements.h"
#include "link/station_list.h"
#include "link_faults.h"
#include "records/mail_test.h"
#include "records/records_controls.h"
#include "records/settings_dialog.h"
#include "status/alarm_lamps.h"
#include "status/schematic.h"
#include "status/status_controls.h"
#include "support/fake_platform.h"

namespace treld::testing {

using Texts = std::vector<std::string>;

// Readings with another value in every field, so that a field out of place shows.
inline constexpr const char* kSrvReadings = "#230 231 229 228 230 232 0500 0499\r";
inline constexpr const char* kOplReadings = "#045 050 055 010 011 012 035 002\r";
inline constexpr const char* kSasReply = "#00000000 00000000 00000000 00000000 00000\r";

// Every way `reply` can arrive (h11's tr()): whole, byte by byte, split anywhere, `more` after.
std::vector<Texts> everyArrival(const std::string& reply, const std::string& more = "\n#000\r");

// An all-clear status record with the given characters put at their positions.
std::string statusRecord(std::initializer_list<std::pair<int, char>> set = {});

class VirtualRig {
  public:
    // Writes `config` as sts.cfg in a fresh program directory; start() follows.
    explicit VirtualRig(const std::string& config = "COMPORT:1\r\nTIMEOUT:1000\r\n");
    ~VirtualRig() { std::filesystem::remove_all(programDir); }

    const std::filesystem::path programDir;
    FakePlatform platform;
    Monitor monitor;
    // The STS on the line and behind a remote relay: the simulator's model (passwords 9999, 1111).
    sts::Device sts{{.clockStart = {2026, 12, 5, 14, 5, 10}}, 0};
    // The line's faults for every reply, and for one command's replies instead (fault()).
    sts::LinkFaults line{.delayMs = 20, .chunkGapMs = 1};
    std::map<std::string, sts::LinkFaults> faults;
    std::map<std::string, std::string> replied;  // the device's last reply to each command
    std::map<std::string, Texts> arrivals;  // one command's replies in these pieces, 1 ms apart
    void holdReadings() { fault("SRV").reply = kSrvReadings, fault("OPL").reply = kOplReadings; }
    sts::LinkFaults& fault(const std::string& c) {
        return faults.try_emplace(c, line).first->second;
    }
    // Milliseconds a mail program runs (exit code 0); negative: until the test ends it.
    int mailRunMs = 0;

    // The operator: a click, a choice from a list or tab, typed text.
    void click(std::string_view name, Form form = Form::Form1) { monitor.click(form, name); }
    void click(ElementName e) { monitor.click(e.form, e.name); }
    void select(std::string_view name, int index, Form form = Form::Form1) {
        monitor.select(form, name, index);
    }
    void type(std::string_view name, std::string_view text, Form form = Form::Form2) {
        monitor.editText(form, name, text);
    }

    // Answers the question the monitor asked last; gives its text ("" when none was asked).
    std::string answer(bool yes);

    void writeFile(const std::string& name, const std::string& text);
    std::string readFile(const std::string& name) const;
    void start() { monitor.start(); }

    void at(std::int64_t atMs, std::function<void()> event) { events_.emplace(atMs, event); }
    void advance(std::int64_t ms);
    // Runs until `done` holds after an event; fails the test past `limitMs`.
    void runUntil(const std::function<bool()>& done, std::int64_t limitMs = 30'000);
    void runUntilSent(std::size_t count) {
        runUntil([&] { return platform.serialWrites.size() >= count; });
    }
    // Runs until the device's next answer to `command` has been evaluated.
    void runPast(const std::string& command);
    // The device's status reads `record` from now on; long enough for it to be shown.
    void showStatus(const std::string& record) {
        fault("SAS").reply = record;
        advance(250);
    }
    std::int64_t now() const { return platform.nowMs; }

    Element& element(std::string_view name, Form form = Form::Form1) {
        return monitor.ui()(form, name);
    }
    Element& element(ElementName e) { return element(e.name, e.form); }
    const std::string& caption(std::string_view name, Form form = Form::Form1) {
        return element(name, form).caption();
    }
    const std::string& caption(ElementName e) { return element(e).caption(); }
    // The commands written to the serial port so far, without their final CR.
    Texts commandsSent() const;
    // Changing writes so far to a window's elements, but the link indicators.
    int writesTo(Form form);
    // A relay client connects and sends `text`; returns its slot.
    int ask(std::string_view text);
    Texts& answers(int slot) { return platform.relaySends[slot]; }

  private:
    std::function<void(std::string_view)> device(void (Monitor::*receive)(std::string_view));
    bool runNextEvent(std::int64_t limitMs);

    sts::ReplyShaper shaper_{1};
    std::multimap<std::int64_t, std::function<void()>> events_;
    int eventsRun_ = 0;
};

}  // namespace treld::testing
