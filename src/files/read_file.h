#pragma once
// Reading a whole file the program keeps: only a regular file of a bounded size
// is read, and it is opened without waiting, so a pipe or device under the
// name of a data or report file is refused instead of blocking the program.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace zor::files {

// Why a file could not be read; what() is a Dutch sentence with the system's
// reason, without the file's name (the caller's message names it).
class ReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The bytes of a regular file of at most `maxSize` bytes. Throws ReadError;
// a larger file gives `tooLargeReason`.
std::string ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxSize,
                            const std::string& tooLargeReason);

}  // namespace zor::files
