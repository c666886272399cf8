#pragma once

// The byte sink every part of a PDF file is written through, and the number forms of the file.

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace zor::pdf {

// Buffers output in front of a stream and keeps the running byte position, from which the
// cross-reference offsets are taken. A piece that does not fit in the buffer is written straight
// through after the buffer is flushed. Stream failures raise std::runtime_error.
class PdfOutput {
  public:
    static constexpr std::size_t kBufferSize = 511;

    explicit PdfOutput(std::ostream& out) : out_(out) {}
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    void write(std::string_view bytes);
    PdfOutput& operator<<(std::string_view bytes) {
        write(bytes);
        return *this;
    }
    std::int64_t position() const { return flushed_ + std::int64_t(used_); }
    void flush();

  private:
    void writeThrough(std::string_view bytes);

    std::ostream& out_;
    std::array<char, kBufferSize> buffer_{};
    std::size_t used_ = 0;
    std::int64_t flushed_ = 0;
};

// A real number with two decimals, a trailing "0" and then a trailing ".0" dropped:
// 12.5 -> "12.5", 12 -> "12", 12.344 -> "12.34".
std::string formatReal(double value);

// A number in a content stream: the real form followed by a blank; magnitudes below 0.01 are
// written "0 ".
std::string contentNumber(double value);

}  // namespace zor::pdf
