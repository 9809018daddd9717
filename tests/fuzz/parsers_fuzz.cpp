// One libFuzzer driver for every parser. Each fuzz executable is this file
// built with TRELD_FUZZ_TARGET naming its parser (and its seed folder). The
// monitor's parsers are reached through the Monitor's own entry points on the
// fake platform, a fresh core per input; inputs hold several messages
// separated by '|'.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "conductor/monitor.h"
#include "foundation/station_config.h"
#include "language_texts.h"
#include "month_file.h"
#include "support/fake_platform.h"

namespace treld::fuzz {
namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::vector<std::string_view> pieces(std::string_view input) {
    std::vector<std::string_view> result;
    for (std::size_t marker; (marker = input.find('|')) != std::string_view::npos;) {
        result.push_back(input.substr(0, marker));
        input.remove_prefix(marker + 1);
    }
    result.push_back(input);
    return result;
}

// A program directory for the whole run, removed at exit.
const std::filesystem::path& scratchDir() {
    static const struct Dir {
        Dir() {
            std::string pattern = std::filesystem::temp_directory_path() / "treld-fuzz-XXXXXX";
            require(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
            path = pattern;
        }
        ~Dir() { std::filesystem::remove_all(path); }
        std::filesystem::path path;
    } dir;
    return dir.path;
}

std::filesystem::path writeScratchFile(const std::string& name, std::string_view text) {
    const std::filesystem::path file = scratchDir() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(text.data(), text.size());
    return file;
}

// A started monitor in local mode on COM1. Alarm lines land in a fresh
// SERLOGS each time, which keeps the run's disk use flat.
struct Rig {
    Rig() : monitor(platform, scratchDir()) {
        std::filesystem::remove_all(scratchDir() / "SERLOGS");
        monitor.start();
    }
    void tick() { monitor.onTimer(TimerId::Timer1); }
    void showTab(int tab) { monitor.select(Form::Form1, "SSTab1", tab); }
    // Every command the cycle sends gets the next piece as its reply; a piece
    // without a CR leaves the command to its time-out.
    void answer(std::string_view input) {
        for (std::string_view piece : pieces(input)) {
            const std::size_t sent = platform.serialWrites.size();
            for (int tick = 0; tick < 8 && platform.serialWrites.size() == sent; ++tick)
                this->tick();
            monitor.onSerialData(piece);
            this->tick();
        }
    }
    testing::FakePlatform platform;
    Monitor monitor;
};

// Every command of the tab's cycle gets the next piece as its reply.
void answerOnTab(std::string_view input, int tab) {
    Rig rig;
    rig.showTab(tab);
    rig.answer(input);
}

void relayEvents(std::string_view input) {
    Rig rig;
    auto slotOf = [&](std::string_view piece) {
        const auto& accepted = rig.platform.acceptedSlots;
        const std::size_t pick = piece.size() > 1 ? static_cast<unsigned char>(piece[1]) : 0;
        return accepted.empty() ? 1 : accepted[pick % accepted.size()];
    };
    // The first byte of each piece says what happens.
    for (std::string_view piece : pieces(input)) {
        switch (piece.empty() ? 0 : piece[0] % 6) {
            case 0:
                rig.monitor.onRelayConnectionRequest();
                break;
            case 1:
                rig.monitor.onRelayData(slotOf(piece), piece.substr(1));
                break;
            case 2:
                rig.monitor.onRelayClosed(slotOf(piece));
                break;
            case 3:
                rig.monitor.onRelaySendComplete(slotOf(piece));
                break;
            case 4:
                rig.tick();
                break;
            default:
                rig.monitor.onSerialData(piece.substr(1));
        }
    }
}

void serialChunks(std::string_view input) {
    Rig rig;
    rig.showTab(input.empty() ? 0 : input[0] % 5);
    for (std::string_view chunk : pieces(input.substr(input.empty() ? 0 : 1))) {
        rig.monitor.onSerialData(chunk);
        rig.tick();
    }
}

void stationConfig(std::string_view input) {
    StationConfig first, second;
    if (!ReadConfigText(input, first))
        return;
    const std::string written = WriteConfigText(first, first.ComPort);
    require(ReadConfigText(written, second), "a written file reads back completely");
    require(WriteConfigText(second, second.ComPort) == written, "it reads back unchanged");
}

void demoTable(std::string_view input) {
    writeScratchFile("DEMOSET.CFG", input);
    Rig rig;
    rig.monitor.click(Form::Form1, "mnset");
    rig.monitor.select(Form::Form2, "Combo1", 0);  // Demo
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
    if (const auto texts =
            kirnal::readLanguageFile(writeScratchFile(kirnal::kLanguageFileName, input))) {
        for (int number = -1; number <= kirnal::LanguageTexts::kHighest + 1; ++number)
            require(texts->text(number).size() <= input.size(), "texts come from the file");
    }
}

using Target = void (*)(std::string_view);
const std::map<std::string_view, Target> kTargets = {
    {"measurement_replies", [](std::string_view in) { answerOnTab(in, 0); }},
    {"option_replies", [](std::string_view in) { answerOnTab(in, 1); }},
    {"status_record", [](std::string_view in) { answerOnTab(in, 3); }},
    {"log_records", [](std::string_view in) { answerOnTab(in, 4); }},
    {"serial_chunks", serialChunks},
    {"relay_requests", relayEvents},
    {"station_config", stationConfig},
    {"demo_table", demoTable},
    {"calendar_month_file", calendarMonthFile},
    {"calendar_language_file", calendarLanguageFile},
};

}  // namespace
}  // namespace treld::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto target = treld::fuzz::kTargets.at(TRELD_FUZZ_TARGET);
    target(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
