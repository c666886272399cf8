#include "ui/native_path.h"

namespace zor::ui {

std::string nativePath(std::string_view programPath) {
    std::string out;
    out.reserve(programPath.size());
    for (char c : programPath) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

}  // namespace zor::ui
