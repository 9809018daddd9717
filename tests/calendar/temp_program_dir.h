#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace kirnal {

// A program directory with an empty SERLOGS folder of its own for one test, removed afterwards;
// the process id keeps tests that run at the same time apart.
class TempProgramDir {
  public:
    TempProgramDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("kirnal-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_ / "SERLOGS");
    }
    ~TempProgramDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    void write(const std::filesystem::path& relative, const std::string& content) const {
        std::ofstream(path_ / relative, std::ios::binary) << content;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace kirnal
