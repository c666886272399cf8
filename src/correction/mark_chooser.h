#pragma once

#include <cstdint>
#include <string>

#include "ui/controls.h"

namespace zor::correction {

// A drop-down with the choices "F" (index 0, wrong) and "G" (index 1, right)
// for one test item, drawn in red while it shows "F" and in green otherwise.
class MarkChooser : public ui::ComboBox {
  public:
    static constexpr int kWrong = 0;
    static constexpr int kRight = 1;
    static constexpr std::uint32_t kWrongColor = 0xFF0000;
    static constexpr std::uint32_t kRightColor = 0x008000;

    MarkChooser(ui::Screen& owner, std::string name, ui::Bounds bounds, int item);

    // The item number, 1 to 12.
    int item() const { return item_; }
    // The choice as a score-grid mark: "0" for "F", "1" for "G".
    std::string mark() const;
    // Shows a score-grid mark; an empty mark (the item was not given) leaves
    // no choice and disables the chooser.
    void showMark(const std::string& mark);

    // Text colour (0xRRGGBB) of the choice shown.
    std::uint32_t color = kRightColor;

  private:
    int item_;
};

}  // namespace zor::correction
