#include "pagestore/data_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "files/write_error.h"

namespace zor::pagestore {
namespace {

constexpr std::size_t CopyBlock = 61440;

// The temporary page file lives in the system's temporary folder; when it fails
// (a full disk) the test leader reads why.
[[noreturn]] void throwErrno(const std::string& what) {
    throw std::runtime_error(what + " " + files::DutchReason(errno));
}

void checkRange(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    if (offset > size || length > size - offset)
        throw std::out_of_range("read beyond the end of the page data");
}

}  // namespace

void MemoryDataStream::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    checkRange(offset, out.size(), bytes_.size());
    std::copy_n(bytes_.begin() + std::ptrdiff_t(offset), out.size(), out.begin());
}

void MemoryDataStream::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (offset > bytes_.size()) throw std::out_of_range("write beyond the end of the page data");
    if (offset + data.size() > bytes_.size()) bytes_.resize(offset + data.size());
    std::copy(data.begin(), data.end(), bytes_.begin() + std::ptrdiff_t(offset));
}

void MemoryDataStream::truncate(std::uint64_t newSize) {
    if (newSize < bytes_.size()) bytes_.resize(newSize);
}

TempFileDataStream::TempFileDataStream() {
    std::string name = (std::filesystem::temp_directory_path() / "PPXXXXXX").string();
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) throwErrno("Kan geen tijdelijk bestand voor de pagina's maken.");
    path_ = name;
}

TempFileDataStream::~TempFileDataStream() {
    ::close(fd_);
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void TempFileDataStream::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    checkRange(offset, out.size(), size_);
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throwErrno("Kan het tijdelijke bestand met de pagina's niet lezen.");
        done += std::size_t(n);
    }
}

void TempFileDataStream::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (offset > size_) throw std::out_of_range("write beyond the end of the page data");
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::pwrite(fd_, data.data() + done, data.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throwErrno("Kan het tijdelijke bestand met de pagina's niet schrijven.");
        done += std::size_t(n);
    }
    size_ = std::max(size_, offset + data.size());
}

void TempFileDataStream::truncate(std::uint64_t newSize) {
    if (newSize >= size_) return;
    if (::ftruncate(fd_, off_t(newSize)) != 0) throwErrno("Kan het tijdelijke bestand met de pagina's niet inkorten.");
    size_ = newSize;
}

std::unique_ptr<DataStream> copyStream(const DataStream& from, bool toTempFile) {
    std::unique_ptr<DataStream> to;
    if (toTempFile)
        to = std::make_unique<TempFileDataStream>();
    else
        to = std::make_unique<MemoryDataStream>();
    std::vector<std::uint8_t> block;
    for (std::uint64_t at = 0; at < from.size(); at += block.size()) {
        block.resize(std::size_t(std::min<std::uint64_t>(CopyBlock, from.size() - at)));
        from.read(at, block);
        to->write(at, block);
    }
    return to;
}

}  // namespace zor::pagestore
