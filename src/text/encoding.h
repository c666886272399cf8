#pragma once
// Conversions between the program's in-memory text (UTF-8), the UTF-16 of page
// images and the Windows-1252 code page of the administration files and PDF fonts.
#include <optional>
#include <string>
#include <string_view>

namespace zor::text {

// Decodes UTF-8; a malformed sequence becomes U+FFFD and decoding goes on after it.
std::u32string utf8ToUtf32(std::string_view utf8);
std::string utf32ToUtf8(std::u32string_view text);

std::u16string utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

// The Windows-1252 byte for a code point, or nothing when the code page lacks it.
std::optional<unsigned char> cp1252FromCodePoint(char32_t codePoint);
// The code point of a Windows-1252 byte; the five undefined bytes map to the
// C1 control of the same number, as the platform's conversion does.
char32_t cp1252ToCodePoint(unsigned char byte);

// Characters the code page lacks become '?'.
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace zor::text
