#include "pdf/pdf_output.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace zor::pdf {

void PdfOutput::write(std::string_view bytes) {
    if (used_ + bytes.size() <= buffer_.size()) {
        std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
        return;
    }
    flush();
    writeThrough(bytes);
}

void PdfOutput::flush() {
    if (used_ == 0) return;
    std::size_t pending = used_;
    used_ = 0;
    writeThrough({buffer_.data(), pending});
}

void PdfOutput::writeThrough(std::string_view bytes) {
    out_.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out_) throw std::runtime_error("Writing the PDF file failed");
    flushed_ += std::int64_t(bytes.size());
}

std::string formatReal(double value) {
    if (!std::isfinite(value)) return "0";
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    if (ec != std::errc()) return "0";
    std::string s(text, end);
    if (s.ends_with('0')) s.pop_back();
    if (s.ends_with(".0")) s.resize(s.size() - 2);
    if (s == "-0") s = "0";
    return s;
}

std::string contentNumber(double value) {
    if (!(std::fabs(value) >= 0.01)) return "0 ";
    return formatReal(value) + ' ';
}

}  // namespace zor::pdf
