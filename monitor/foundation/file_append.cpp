#include "foundation/file_append.h"

#include <fstream>
#include <system_error>

namespace treld {

bool appendToFile(const std::filesystem::path& file, std::string_view text) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string readFileTail(const std::filesystem::path& file, std::uintmax_t bytes) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::uintmax_t size = in ? static_cast<std::uintmax_t>(in.tellg()) : 0;
    const std::uintmax_t start = size > bytes ? size - bytes : 0;
    in.seekg(static_cast<std::streamoff>(start));
    std::string tail(static_cast<std::size_t>(size - start), '\0');
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    tail.resize(static_cast<std::size_t>(in.gcount()));
    return tail;
}

}  // namespace treld
