// A real monitor core on the fake platform for fuzz targets: a fresh core
// for every input, driven only through the Monitor's own entry points.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "conductor/monitor.h"
#include "support/fake_platform.h"

namespace treld::fuzz {

// Inputs hold several messages separated by this byte.
inline constexpr char kMarker = '|';

std::vector<std::string_view> splitAtMarker(std::string_view input);

// A program directory of its own for the whole run, removed at exit.
const std::filesystem::path& scratchProgramDir();

// Writes `text` to `name` in the scratch program directory; returns its path.
std::filesystem::path writeScratchFile(const std::string& name, std::string_view text);

// Aborts with a message when `holds` is false, so the fuzzer keeps the input.
void require(bool holds, const char* what);

class FuzzMonitor {
  public:
    // A started monitor in local mode on COM1 with default settings.
    FuzzMonitor();

    testing::FakePlatform platform;
    Monitor monitor;

    Core& core() { return monitor.core(); }
    void tick() { monitor.onTimer(TimerId::Timer1); }
    void showTab(int tab) { monitor.select(Form::Form1, "SSTab1", tab); }

    // Ticks until the poll cycle writes a command to the serial line.
    bool tickUntilCommand();
    // Answers every command the cycle sends with the next piece of the
    // input and lets the cycle evaluate it.
    void answerCommands(std::string_view input);
    // Sends the command of measurement step `sendStep` again for every piece
    // of the input and evaluates the piece as its reply.
    void evaluateAsReplyOf(Int16 sendStep, std::string_view input);
    // The receive buffers stay within their limit whatever arrives.
    void checkBounds();
};

}  // namespace treld::fuzz
