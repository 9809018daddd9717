#include "fuzz_monitor.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace treld::fuzz {
namespace {

struct ScratchDir {
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "treld-fuzz-XXXXXX").string();
        require(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
        path = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// Alarm lines land in SERLOGS; a fresh folder per input keeps the run's
// disk use flat.
void freshLogFolder() {
    const std::filesystem::path folder = scratchProgramDir() / "SERLOGS";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directory(folder, ignored);
}

}  // namespace

std::vector<std::string_view> splitAtMarker(std::string_view input) {
    std::vector<std::string_view> pieces;
    while (true) {
        const std::size_t marker = input.find(kMarker);
        pieces.push_back(input.substr(0, marker));
        if (marker == std::string_view::npos)
            return pieces;
        input.remove_prefix(marker + 1);
    }
}

const std::filesystem::path& scratchProgramDir() {
    static const ScratchDir dir;
    return dir.path;
}

std::filesystem::path writeScratchFile(const std::string& name, std::string_view text) {
    const std::filesystem::path file = scratchProgramDir() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    return file;
}

void require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

FuzzMonitor::FuzzMonitor() : monitor(platform, (freshLogFolder(), scratchProgramDir())) {
    monitor.start();
}

bool FuzzMonitor::tickUntilCommand() {
    for (int tick = 0; tick < 8; ++tick) {
        const std::size_t before = platform.serialWrites.size();
        this->tick();
        if (platform.serialWrites.size() != before)
            return true;
    }
    return false;
}

void FuzzMonitor::answerCommands(std::string_view input) {
    for (std::string_view piece : splitAtMarker(input)) {
        if (!tickUntilCommand())
            return;
        monitor.onSerialData(piece);
        tick();
        checkBounds();
    }
}

void FuzzMonitor::evaluateAsReplyOf(Int16 sendStep, std::string_view input) {
    for (std::string_view piece : splitAtMarker(input)) {
        core().s.PollStep = sendStep;
        tick();
        monitor.onSerialData(piece);
        tick();
        checkBounds();
    }
}

void FuzzMonitor::checkBounds() {
    const ProgramState& s = core().s;
    require(s.ReceiveBuffer.size() <= kReceiveLimit, "serial receive buffer limit");
    require(s.Reply.size() <= kReceiveLimit + 1, "reply limit");
    require(s.TcpReceiveBuffer.size() <= kReceiveLimit, "TCP receive buffer limit");
}

}  // namespace treld::fuzz
