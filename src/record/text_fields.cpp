#include "record/text_fields.h"

namespace zor::record {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += IsContinuationByte(c) ? 0 : 1;
    return count;
}

std::string PadLeft(std::string_view text, char fill, std::size_t width) {
    const std::size_t length = CharacterCount(text);
    std::string padded(length < width ? width - length : 0, fill);
    padded += text;
    return padded;
}

std::string FirstCharacters(std::string_view text, std::size_t maxCharacters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuationByte(text[i]) && count++ == maxCharacters) {
            return std::string(text.substr(0, i));
        }
    }
    return std::string(text);
}

}  // namespace zor::record
