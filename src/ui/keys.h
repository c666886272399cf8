#pragma once

namespace zor::ui {

// Key codes (the values of the Windows virtual keys, which the handlers use).
namespace keys {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int Add = 107;       // numeric-pad +
inline constexpr int Subtract = 109;  // numeric-pad -
inline constexpr int F1 = 112;
inline constexpr int F4 = 115;
}  // namespace keys

struct Shift {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

}  // namespace zor::ui
