#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sts {

// Collects received characters into command lines ended by CR. LF is ignored. A line longer
// than the bound is dropped whole (up to its CR), so a flood without CR never grows memory.
class LineReader {
  public:
    static constexpr std::size_t kMaxLine = 64;

    struct Line {
        std::string text;
        bool overlong = false;  // dropped: text is empty
    };

    std::vector<Line> feed(std::string_view received);

  private:
    std::string pending_;
    bool overlong_ = false;
};

}  // namespace sts
