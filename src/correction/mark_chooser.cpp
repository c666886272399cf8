#include "correction/mark_chooser.h"

namespace zor::correction {

MarkChooser::MarkChooser(ui::Screen& owner, std::string name, ui::Bounds bounds, int item)
    : ui::ComboBox(owner, std::move(name), bounds), item_(item) {
    items = {"F", "G"};
}

std::string MarkChooser::mark() const { return itemIndex == kWrong ? "0" : "1"; }

void MarkChooser::showMark(const std::string& mark) {
    enabled = !mark.empty();
    if (!enabled) {
        // A chooser of an item that was not given shows no choice, so that no
        // mark of an earlier administration stays in view.
        itemIndex = -1;
        return;
    }
    itemIndex = mark == "0" ? kWrong : kRight;
}

}  // namespace zor::correction
