#include "record/key_filters.h"

namespace zor::record {
namespace {

constexpr char32_t kBackspace = 8;

bool IsDigit(char32_t key) { return key >= U'0' && key <= U'9'; }

}  // namespace

bool IsCodeKey(char32_t key) {
    return key == kBackspace || IsDigit(key) || (key >= U'A' && key <= U'Z') ||
           (key >= U'a' && key <= U'z') || key == U'#' || key == U'(' || key == U')' ||
           key == U'-' || key == U'_';
}

bool IsDigitKey(char32_t key) { return key == kBackspace || IsDigit(key); }

}  // namespace zor::record
