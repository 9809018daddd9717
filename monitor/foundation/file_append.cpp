#include "foundation/file_append.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "foundation/regular_file.h"

namespace treld {
namespace {

// Reads up to `size` bytes at `offset`; fewer at the end of the file.
std::string readAt(int descriptor, std::uintmax_t offset, std::size_t size) {
    std::string text(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n =
            ::pread(descriptor, text.data() + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return text;
}

std::uintmax_t sizeOf(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 ? static_cast<std::uintmax_t>(status.st_size) : 0;
}

}  // namespace

std::string appendToFile(const std::filesystem::path& file, std::string_view text) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    RegularFile out(file, RegularFile::Mode::Append);
    if (!out.isOpen())
        return out.problem();
    const std::uintmax_t size = sizeOf(out.descriptor());
    std::string whole;
    if (size > 0 && readAt(out.descriptor(), size - 1, 1) != "\n")
        whole = "\r\n";
    whole += text;
    for (std::string_view rest = whole; !rest.empty();) {
        const ssize_t n = ::write(out.descriptor(), rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // Whole lines or none: what a full disk or a size limit let through goes again.
            const std::string problem = n < 0 ? std::strerror(errno) : "nothing written";
            if (rest.size() < whole.size() &&
                ::ftruncate(out.descriptor(), static_cast<off_t>(size)) != 0)
                return problem + ", and a line is cut short";
            return problem;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

std::string readFileTail(const std::filesystem::path& file, std::uintmax_t bytes) {
    RegularFile in(file, RegularFile::Mode::Read);
    if (!in.isOpen())
        return {};
    const std::uintmax_t size = sizeOf(in.descriptor());
    const std::uintmax_t start = size > bytes ? size - bytes : 0;
    return readAt(in.descriptor(), start, static_cast<std::size_t>(size - start));
}

std::optional<std::string> readFileStart(const std::filesystem::path& file, std::size_t limit,
                                         std::string& problem) {
    RegularFile in(file, RegularFile::Mode::Read);
    problem = in.problem();
    if (!in.isOpen())
        return std::nullopt;
    return readAt(in.descriptor(), 0, limit);
}

}  // namespace treld
