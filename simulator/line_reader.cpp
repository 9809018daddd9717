#include "line_reader.h"

namespace sts {

std::vector<LineReader::Line> LineReader::feed(std::string_view received) {
    std::vector<Line> lines;
    for (char c : received) {
        if (c == '\n') {
            continue;
        }
        if (c == '\r') {
            lines.push_back(overlong_ ? Line{{}, true} : Line{pending_, false});
            pending_.clear();
            overlong_ = false;
        } else if (pending_.size() < kMaxLine) {
            pending_.push_back(c);
        } else {
            pending_.clear();
            overlong_ = true;
        }
    }
    return lines;
}

}  // namespace sts
