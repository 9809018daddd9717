#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace kirnal {

// A program directory with an empty SERLOGS folder for one test, removed afterwards; the process
// id keeps tests that run at the same time apart.
class TempProgramDir {
  public:
    TempProgramDir() { std::filesystem::create_directories(path_ / "SERLOGS"); }
    ~TempProgramDir() { std::filesystem::remove_all(path_, ignored_); }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void write(const std::filesystem::path& relative, const std::string& content) const {
        std::ofstream(path_ / relative, std::ios::binary) << content;
    }

  private:
    inline static std::atomic<int> counter_{0};
    const std::filesystem::path path_ =
        std::filesystem::temp_directory_path() /
        ("kirnal-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::error_code ignored_;
};

}  // namespace kirnal
