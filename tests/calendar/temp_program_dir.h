// A program directory with an empty SERLOGS folder for one test, removed afterwards.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace kirnal {

class TempProgramDir {
  public:
    TempProgramDir() { std::filesystem::create_directories(path_ / "SERLOGS"); }
    ~TempProgramDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    void write(const std::filesystem::path& relative, const std::string& content) const {
        std::ofstream(path_ / relative, std::ios::binary) << content;
    }

  private:
    inline static std::atomic<int> counter_{0};  // with the process id, keeps tests apart
    const std::filesystem::path path_ =
        std::filesystem::temp_directory_path() /
        ("kirnal-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
};

}  // namespace kirnal
