// One libFuzzer driver for every parser, linked once per parser as <parser>_fuzz: the
// program's name picks the parser (and names its seed folder). The monitor's parsers are reached
// through its entry points on the fake platform, a fresh core per input; inputs hold several
// messages separated by '|'.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <unistd.h>

#include "conductor/monitor.h"
#include "foundation/station_config.h"
#include "language_texts.h"
#include "month_file.h"
#include "support/fake_platform.h"

namespace treld::fuzz {
namespace {

void require(bool holds, const char* what) {
    if (!holds)
        std::fprintf(stderr, "broken: %s\n", what), std::abort();
}

std::vector<std::string_view> pieces(std::string_view input) {
    std::vector<std::string_view> result{input.substr(0, input.find('|'))};
    for (std::size_t at = input.find('|'); at != std::string_view::npos;
         at = input.find('|', at + 1))
        result.push_back(input.substr(at + 1, input.find('|', at + 1) - at - 1));
    return result;
}

// A program directory for the whole run, removed at exit.
const std::filesystem::path& scratchDir() {
    static const struct Dir {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("treld-fuzz-" + std::to_string(getpid()));
        Dir() { std::filesystem::create_directory(path); }
        ~Dir() { std::filesystem::remove_all(path); }
    } dir;
    return dir.path;
}

std::filesystem::path writeScratchFile(const std::string& name, std::string_view text) {
    std::ofstream(scratchDir() / name, std::ios::binary).write(text.data(), text.size());
    return scratchDir() / name;
}

// A started monitor in local mode on COM1 showing `tab`. Alarm lines land in
// a fresh SERLOGS each time, which keeps the run's disk use flat.
struct Rig {
    explicit Rig(int tab) : monitor(platform, scratchDir()) {
        std::filesystem::remove_all(scratchDir() / "SERLOGS");
        monitor.start();
        monitor.select(Form::Form1, "SSTab1", tab);
    }
    void tick() { monitor.onTimer(TimerId::Timer1); }
    testing::FakePlatform platform;
    Monitor monitor;
};

// The first byte picks the tab ('0' to '4'). Every piece arrives as one chunk followed by a tick;
// with `answer`, only once the cycle has sent its next command (else a time-out).
void onTab(std::string_view input, bool answer) {
    Rig rig(input.empty() ? 0 : (input[0] - '0' + 256) % 5);
    for (std::string_view piece : pieces(input.substr(input.empty() ? 0 : 1))) {
        const std::size_t sent = rig.platform.serialWrites.size();
        for (int tick = 0; answer && tick < 8 && rig.platform.serialWrites.size() == sent; ++tick)
            rig.tick();
        rig.monitor.onSerialData(piece);
        rig.tick();
    }
}

// The first byte of each piece says what happens on the relay server; the
// second picks one of the accepted slots.
void relayEvents(std::string_view input) {
    Rig rig(0);
    for (std::string_view piece : pieces(input)) {
        const auto& accepted = rig.platform.acceptedSlots;
        const int slot = accepted.empty()
                             ? 1
                             : accepted[(piece.size() > 1 ? piece[1] & 0xff : 0) % accepted.size()];
        const std::string_view data = piece.substr(piece.empty() ? 0 : 1);
        const int kind = piece.empty() ? 0 : piece[0] % 6;
        if (kind == 0)
            rig.monitor.onRelayConnectionRequest();
        else if (kind == 1)
            rig.monitor.onRelayData(slot, data);
        else if (kind == 2)
            rig.monitor.onRelayClosed(slot);
        else if (kind == 3)
            rig.monitor.onRelaySendComplete(slot);
        else if (kind == 4)
            rig.tick();
        else
            rig.monitor.onSerialData(data);
    }
}

void stationConfig(std::string_view input) {
    StationConfig first, second;
    if (!readConfigText(input, first))
        return;
    const std::string written = writeConfigText(first, first.ComPort);
    require(readConfigText(written, second), "a written file reads back completely");
    require(writeConfigText(second, second.ComPort) == written, "it reads back unchanged");
}

// The table is read at the start; the Settings dialog chooses Demo.
void demoTable(std::string_view input) {
    writeScratchFile("DEMOSET.CFG", input);
    Rig rig(0);
    rig.monitor.click(Form::Form1, "mnset");
    rig.monitor.select(Form::Form2, "Combo1", 0);
    rig.monitor.click(Form::Form2, "Command1");
    for (int tick = 0; tick < 40; ++tick)
        rig.tick();
}

void calendarMonthFile(std::string_view input) {
    std::size_t characters = 0;
    kirnal::forEachEventText(writeScratchFile("2026-12.TXT", input), [&](std::string_view text) {
        characters += text.size();
        kirnal::dayOfEventText(text);
    });
    require(characters <= input.size(), "event texts come from the file");
}

void calendarLanguageFile(std::string_view input) {
    std::string problem;
    const auto texts =
        kirnal::readLanguageFile(writeScratchFile(kirnal::kLanguageFileName, input), problem);
    for (int number = -1; texts && number <= kirnal::LanguageTexts::kHighest + 1; ++number) {
        const std::string& text = texts->text(number);
        require(input.find(text) != input.npos ||
                    kirnal::builtInLanguageFile().find(text) != std::string_view::npos,
                "texts come from the file or the built-in one");
    }
}

const std::map<std::string_view, void (*)(std::string_view)> kTargets = {
    {"measurement_replies", [](std::string_view in) { onTab(in, true); }},
    {"option_replies", [](std::string_view in) { onTab(in, true); }},
    {"status_record", [](std::string_view in) { onTab(in, true); }},
    {"log_records", [](std::string_view in) { onTab(in, true); }},
    {"serial_chunks", [](std::string_view in) { onTab(in, false); }},
    {"relay_requests", relayEvents},
    {"station_config", stationConfig},
    {"demo_table", demoTable},
    {"calendar_month_file", calendarMonthFile},
    {"calendar_language_file", calendarLanguageFile},
};

}  // namespace
}  // namespace treld::fuzz

namespace {
void (*gTarget)(std::string_view) = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv) {
    const std::string program = std::filesystem::path((*argv)[0]).filename().string();
    const auto found = treld::fuzz::kTargets.find(program.substr(0, program.rfind("_fuzz")));
    treld::fuzz::require(found != treld::fuzz::kTargets.end(), "a parser named <parser>_fuzz");
    gTarget = found->second;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gTarget(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
