#include "device.h"

namespace sts {

namespace {

const std::string kOk = "OK\r";
const std::string kAccessDenied = "ACCESS DENIED\r";
const std::string kLogonPlease = "LOGON PLEASE\r";
const std::string kInvalidData = "INVALID DATA\r";
const std::string kVersion = "STS-3P firmware 2.14 (sts-sim)\r";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

Device::Device(const DeviceSetup& setup, Millis now)
    : setup_(setup),
      clock_(setup.clockStart, now),
      plant_(options_, log_, clock_, setup.seed, now) {}

void Device::advance(Millis now) {
    if (level_ != Level::None && now >= loginExpires_) {
        level_ = Level::None;
    }
    plant_.advance(now);
}

std::optional<std::string> Device::handle(std::string_view line, Millis now) {
    advance(now);
    if (line.empty()) {
        return std::nullopt;  // the second CR after a clock, date, option or login command
    }
    if (line == "SRV") {
        return plant_.sourceReply();
    }
    if (line == "OPL") {
        return plant_.outputReply();
    }
    if (line == "SAS") {
        return plant_.statusRecord(level_ == Level::Service, level_ == Level::User);
    }
    if (line == "SST") {
        return std::string(level_ == Level::None ? "#RUN\r" : "#RUN LOGIN\r");
    }
    if (line == "FIR") {
        return kVersion;
    }
    if (line == "CLK") {
        return "#" + clock_.timeText(now) + "\r";
    }
    if (line == "DAT") {
        return "#" + clock_.dateText(now) + "\r";
    }
    if (startsWith(line, "ACL")) {
        return clock_.setTime(line.substr(3), now) ? kOk : kInvalidData;
    }
    if (startsWith(line, "AD")) {
        return clock_.setDate(line.substr(2), now) ? kOk : kInvalidData;
    }
    if (startsWith(line, "M0")) {
        return options_.read(line).value_or(kInvalidData);
    }
    if (startsWith(line, "W0")) {
        return writeOption(line.substr(2));
    }
    if (startsWith(line, "LOG") && line.size() == 6) {
        const int number = parseDigits(line.substr(3));
        return number < 0 ? kInvalidData : log_.record(number).value_or(kInvalidData);
    }
    if (line.size() == 5 && (line[0] == 'P' || line[0] == 'U')) {
        return login(line[0] == 'P' ? Level::Service : Level::User, line.substr(1), now);
    }
    if (line == "OUT") {
        level_ = Level::None;
        return kOk;
    }
    return operatorCommand(line, now);
}

std::string Device::login(Level level, std::string_view password, Millis now) {
    const std::string& expected =
        level == Level::Service ? setup_.servicePassword : setup_.userPassword;
    if (password != expected) {
        return kAccessDenied;
    }
    if (level_ != level) {
        level_ = level;
        const LogEvent event =
            level == Level::Service ? LogEvent::ServiceLogin : LogEvent::UserLogin;
        plant_.logEvent(event, now);
    }
    loginExpires_ = now + kLoginLifetime;
    return kOk;
}

std::string Device::refusal(Level needed) const {
    if (level_ == Level::None) {
        return kLogonPlease;
    }
    if (needed == Level::Service && level_ != Level::Service) {
        return kAccessDenied;
    }
    return {};
}

std::string Device::operatorCommand(std::string_view command, Millis now) {
    struct Entry {
        std::string_view text;
        Level needed;
        void (*action)(SwitchPlant&, Millis);
    };
    static const Entry kCommands[] = {
        {"XF1", Level::User,
         [](SwitchPlant& p, Millis t) { p.setMode(TransferMode::ManualS1, t); }},
        {"XF2", Level::User,
         [](SwitchPlant& p, Millis t) { p.setMode(TransferMode::ManualS2, t); }},
        {"CXF", Level::User,
         [](SwitchPlant& p, Millis t) { p.setMode(TransferMode::Automatic, t); }},
        {"SON", Level::User, [](SwitchPlant& p, Millis) { p.setSoundSilenced(false); }},
        {"SOF", Level::User, [](SwitchPlant& p, Millis) { p.setSoundSilenced(true); }},
        {"TST", Level::Service, [](SwitchPlant& p, Millis t) { p.startTransferTest(t); }},
        {"INH", Level::Service, [](SwitchPlant& p, Millis t) { p.inhibitOutput(t); }},
        {"IHR", Level::Service, [](SwitchPlant& p, Millis t) { p.resetInhibit(t); }},
    };
    for (const Entry& entry : kCommands) {
        if (entry.text == command) {
            if (std::string refused = refusal(entry.needed); !refused.empty()) {
                return refused;
            }
            entry.action(plant_, now);
            return kOk;
        }
    }
    return kInvalidData;
}

std::string Device::writeOption(std::string_view codeAndValue) {
    if (std::string refused = refusal(Level::User); !refused.empty()) {
        return refused;
    }
    return options_.write(codeAndValue) ? kOk : kInvalidData;
}

}  // namespace sts
