#pragma once
// The keys the subject fields of the entry and correction screens accept
// while typing, and the messages shown for a refused key.
#include <string_view>

namespace zor::record {

inline constexpr std::string_view kCodeKeyMessage =
    "Ongeldige ingave! Alleen cijfers {0 t/m 9}, letters {aA t/m zZ} en # ( ) - _ zijn hier "
    "toegestaan.";
inline constexpr std::string_view kDigitKeyMessage =
    "Ongeldige ingave! Alleen de cijfers 0 t/m 9 zijn hier toegestaan.";

// Backspace, "0"-"9", "A"-"Z", "a"-"z", "#", "(", ")", "-" and "_".
bool IsCodeKey(char32_t key);
// Backspace and "0"-"9".
bool IsDigitKey(char32_t key);

}  // namespace zor::record
