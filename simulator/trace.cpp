#include "trace.h"

namespace sts {

std::string escapeForTrace(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c > 0x7e) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

Trace::~Trace() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool Trace::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

void Trace::write(Millis now, std::string_view kind, std::string_view text) {
    if (file_ == nullptr) {
        return;
    }
    const std::string escaped = escapeForTrace(text);
    std::fprintf(file_, "%lld %.*s %s\n", static_cast<long long>(now),
                 static_cast<int>(kind.size()), kind.data(), escaped.c_str());
    std::fflush(file_);
}

}  // namespace sts
