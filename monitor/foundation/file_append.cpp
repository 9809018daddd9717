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

}  // namespace treld
