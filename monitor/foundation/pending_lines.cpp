#include "foundation/pending_lines.h"

#include "foundation/file_append.h"

namespace treld {

std::string PendingLines::append(const std::filesystem::path& file, std::string line) {
    const std::string problem = retry();  // the kept ones first: no room taken from them
    lines_.push_back({file, std::move(line)});
    if (lines_.size() > bound_) {
        lines_.pop_front();
        ++dropped_;
    }
    return problem.empty() ? retry() : problem;
}

std::string PendingLines::retry() {
    while (!lines_.empty()) {
        const Line& next = lines_.front();
        std::error_code missing;
        const bool fresh = std::filesystem::file_size(next.file, missing) == 0 || missing;
        const std::string problem =
            appendToFile(next.file, fresh && !header_.empty() ? header_ + next.text : next.text);
        if (!problem.empty())
            return problem;
        lines_.pop_front();
    }
    dropped_ = 0;
    return {};
}

std::string PendingLines::keptText(std::string_view noun) const {
    std::string text = std::to_string(kept()) + " " + std::string(noun) + (kept() == 1 ? "" : "s") +
                       " kept to write later";
    if (dropped_ > 0)
        text += ", " + std::to_string(dropped_) + " dropped";
    return text;
}

std::string PendingLines::keptFor(const std::filesystem::path& file) const {
    std::string text;
    for (const Line& line : lines_) {
        if (line.file == file)
            text += line.text;
    }
    return text;
}

}  // namespace treld
