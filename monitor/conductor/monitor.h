// The monitor core's front door: the Qt layer (or a test) feeds it events and
// draws its display model. Nothing here blocks, sleeps or touches a device.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "conductor/core.h"
#include "device/login.h"
#include "fleet/fleet.h"
#include "fleet/notifications.h"
#include "foundation/operator_event.h"
#include "link/line.h"
#include "trends/trends.h"

namespace treld {

class Monitor {
  public:
    // The programs and their read-only files in `programDir`, the station's
    // own files in `stationDir`; one folder serves as both without a second.
    Monitor(Platform& platform, std::filesystem::path programDir, std::filesystem::path stationDir);
    Monitor(Platform& platform, const std::filesystem::path& dir) : Monitor(platform, dir, dir) {}

    // Form_Load: the start-up sequence, once, after the windows exist.
    void start();

    // The program ends: the main window closed, "exit" chosen, or SIGTERM or
    // SIGINT arrived. A login the device shows is ended first: "OUT" goes out
    // and the end follows its reply (startLogoutAtEnd; a second request ends
    // at once). Then writes "Program end" to the PC log, hands waiting mail to
    // mail programs of its own, gives deliveries of notifications under way
    // ("Program end" too) kEndWaitMs to end, and asks the platform to end.
    // Once only.
    void stop();

    // SIGHUP, as daemons take it: relay.cfg is read again (mqtt.cfg by the
    // Qt layer, which owns the broker client) and that is said.
    void rereadOptionalFiles();

    // A timer fired.
    void onTimer(TimerId timer);

    // A delivery of Platform::sendHttp or runProgram is done.
    void onDelivered(int id, const DeliveryOutcome& outcome);

    // The program of Platform::startWatchedProgram ended with `exitCode`.
    void onMailProgramEnded(int exitCode);

    // Characters arrived on the serial port.
    void onSerialData(std::string_view chunk);
    // The open serial port hung up or failed (a device unplugged).
    void onSerialLost();

    // Remote client events.
    void onRemoteConnected();
    void onRemoteData(std::string_view chunk);
    void onRemoteError();

    // Relay server events; slots are those given to Platform::acceptRelay.
    void onRelayConnectionRequest();
    void onRelayData(int slot, std::string_view data);
    void onRelaySendComplete(int slot);
    void onRelayClosed(int slot);

    // The operator: a button or menu item clicked; an entry of a list, drop-down
    // or tab chosen; text typed; a check box or up-down changed; a window closed.
    // Control arrays are addressed as name_index ("Command2_4").
    void click(Form form, std::string_view control);
    void select(Form form, std::string_view control, int index);
    void editText(Form form, std::string_view control, std::string_view text);
    void setValue(Form form, std::string_view control, int value);
    void closeWindow(Form form);
    // The operator's answer to a question asked with DisplayModel::ask.
    void answer(Form form, std::string_view question, bool yes);

    // Fleet publishing and metrics (mqtt.cfg), from before start() on so the
    // start-up event is published too. `broker` null: metrics only.
    Fleet& startFleet(FleetSettings settings, std::string hostName, BrokerLink* broker);
    // Before the broker client goes (mqtt.cfg read again).
    void stopFleet() { fleet_.reset(); }
    Fleet* fleet() { return fleet_.get(); }

    // Notifications (notify.cfg beside the station's files), before start()
    // so the start-up event goes out too; what the file holds wrong is said.
    // `hostName` names the station when sts.cfg gives it no name.
    void startNotifications(std::string hostName);
    // Instead of start(): one test event to every target of notify.cfg.
    void testNotifications(std::string hostName, Notifications::TestDone done);
    static constexpr int kEndWaitMs = 5000;
    const Notifications& notifications() const { return notifications_; }

    Core& core() { return core_; }
    DisplayModel& ui() { return core_.ui; }
    StatusLine& statusLine() { return core_.statusLine; }
    const Trends& trends() const { return trends_; }

  private:
    void dispatch(OperatorEvent event);
    // After an event: the poll timer takes the interval the line asked for,
    // and the link watch looks at the link's health.
    void settle();

    Core core_;
    Trends trends_;
    Notifications notifications_{core_};
    std::unique_ptr<Fleet> fleet_;
    bool ending_ = false;
    LogoutAtEnd loggingOut_ = LogoutAtEnd::None;  // stop() waits for it
    bool stopped_ = false;
    std::int64_t endAtSecond_ = -1;  // the end waits for notifications until then
};

}  // namespace treld
