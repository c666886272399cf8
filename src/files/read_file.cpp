#include "files/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/write_error.h"

namespace zor::files {

std::string ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxSize,
                            const std::string& tooLargeReason) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) throw ReadError(DutchReadReason(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) throw ReadError(DutchReadReason(errno));
    if (!S_ISREG(info.st_mode)) throw ReadError("Het is geen gewoon bestand.");
    if (static_cast<std::uintmax_t>(info.st_size) > maxSize) throw ReadError(tooLargeReason);
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw ReadError(DutchReadReason(errno));
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace zor::files
