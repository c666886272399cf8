#pragma once
// Small text helpers of the record's fields (UTF-8 text, lengths in characters).
#include <cstddef>
#include <string>
#include <string_view>

namespace zor::record {

// Number of characters (code points) of UTF-8 text.
std::size_t CharacterCount(std::string_view text);

// Puts the fill character before the text until it is width characters long.
std::string PadLeft(std::string_view text, char fill, std::size_t width);

// The first maxCharacters characters of the text.
std::string FirstCharacters(std::string_view text, std::size_t maxCharacters);

}  // namespace zor::record
