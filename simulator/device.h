#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "device_clock.h"
#include "event_log.h"
#include "option_table.h"
#include "switch_plant.h"

namespace sts {

struct DeviceSetup {
    std::string servicePassword = "9999";
    std::string userPassword = "1111";
    ClockReading clockStart{};
    unsigned seed = 1;
};

// The device as seen from its serial line: takes one command line (without its CR) and the
// time, and gives the reply with its CR, or nothing. No I/O of its own.
//
// Access levels: reads (measurements, status, version, clock, options, log) and setting the
// clock need no login. "XF1", "XF2", "CXF", "SON", "SOF" and option writes need a user or
// service login; "TST", "INH" and "IHR" need the service login. Without a login the device answers
// "LOGON PLEASE", with a user login where service is needed "ACCESS DENIED". A login lapses
// 60 s after it was last sent.
class Device {
  public:
    Device(const DeviceSetup& setup, Millis now);

    std::optional<std::string> handle(std::string_view line, Millis now);
    void advance(Millis now);

    SwitchPlant& plant() { return plant_; }
    OptionTable& options() { return options_; }

    static constexpr Millis kLoginLifetime = 60'000;

  private:
    enum class Level { None, User, Service };

    std::string login(Level level, std::string_view password, Millis now);
    std::string operatorCommand(std::string_view command, Millis now);
    std::string writeOption(std::string_view codeAndValue);
    // Empty when allowed, else the refusal.
    std::string refusal(Level needed) const;

    DeviceSetup setup_;
    DeviceClock clock_;
    OptionTable options_;
    EventLog log_;
    SwitchPlant plant_;
    Level level_ = Level::None;
    Millis loginExpires_ = 0;
};

}  // namespace sts
