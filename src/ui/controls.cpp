#include "ui/controls.h"

#include <algorithm>
#include <stdexcept>

#include "text/encoding.h"
#include "ui/application.h"
#include "ui/errors.h"
#include "ui/screen.h"

namespace zor::ui {

Control::Control(Screen& owner, std::string name, Bounds bounds)
    : bounds(bounds), owner_(owner), name_(std::move(name)) {
    owner_.registerControl(*this);
}

Control::~Control() = default;

bool Control::acceptsInput() const { return visible && enabled && owner_.receivesInput(); }

void Control::runEvent(const std::function<void()>& handler) {
    if (handler) owner_.app().runEvent(handler);
}

void Picture::load(const std::filesystem::path& file) {
    std::string path = file.string();
    if (!owner().app().pictures().canLoad(path)) {
        throw FileLoadError(path, "Kan afbeelding \"" + path +
                                      "\" niet laden: het bestand ontbreekt of is onleesbaar.");
    }
    fileName_ = std::move(path);
}

void Picture::clear() { fileName_.clear(); }

std::string Picture::pictureName() const {
    return std::filesystem::path(fileName_).filename().string();
}

ImageButton::ImageButton(Screen& owner, std::string name, Bounds bounds, std::string hint)
    : Picture(owner, std::move(name), bounds) {
    this->hint = std::move(hint);
    cursor = Cursor::Hand;
}

void ImageButton::click() {
    if (acceptsInput()) runEvent(onClick);
}

Label::Label(Screen& owner, std::string name, Bounds bounds, std::string caption)
    : Control(owner, std::move(name), bounds), caption(std::move(caption)) {}

void Label::click() {
    if (acceptsInput()) runEvent(onClick);
}

void Edit::setText(const std::string& text) {
    std::string limited = text;
    if (maxLength > 0) {
        auto chars = text::utf8ToUtf32(text);
        if (chars.size() > static_cast<std::size_t>(maxLength)) {
            chars.resize(maxLength);
            limited = text::utf32ToUtf8(chars);
        }
    }
    if (limited == text_) return;
    text_ = std::move(limited);
    if (onChange) onChange();
}

void Edit::type(const std::string& text) {
    if (!acceptsInput() || readOnly) return;
    runEvent([&] { setText(text); });
}

void Edit::keyPress(char32_t key) {
    if (!acceptsInput() || readOnly) return;
    runEvent([&] {
        if (onKeyPress) onKeyPress(key);
        if (key == 0) return;
        auto chars = text::utf8ToUtf32(text_);
        std::size_t pos = caret < 0 ? chars.size() : std::min<std::size_t>(caret, chars.size());
        if (key == 8) {
            if (pos == 0) return;
            chars.erase(pos - 1, 1);
            --pos;
        } else if (key >= 32) {
            if (maxLength > 0 && chars.size() >= static_cast<std::size_t>(maxLength)) return;
            chars.insert(pos, 1, key);
            ++pos;
        } else {
            return;
        }
        if (caret >= 0) caret = static_cast<int>(pos);
        setText(text::utf32ToUtf8(chars));
    });
}

void RadioGroup::select(int index) {
    if (!acceptsInput() || index < 0 || index >= static_cast<int>(items.size())) return;
    runEvent([&] {
        itemIndex = index;
        if (onClick) onClick();
    });
}

void ComboBox::select(int index) {
    if (!acceptsInput() || index < 0 || index >= static_cast<int>(items.size())) return;
    runEvent([&] {
        itemIndex = index;
        if (onChange) onChange();
    });
}

std::string ComboBox::text() const {
    if (itemIndex < 0 || itemIndex >= static_cast<int>(items.size())) return {};
    return items[itemIndex];
}

PushButton::PushButton(Screen& owner, std::string name, Bounds bounds, std::string caption)
    : Control(owner, std::move(name), bounds), caption(std::move(caption)) {}

void PushButton::click() {
    if (acceptsInput()) runEvent(onClick);
}

void PopupMenu::popup() {
    if (owner().app().observer) owner().app().observer->popup(*this);
}

void PopupMenu::choose(int index) {
    if (index < 0 || index >= static_cast<int>(items.size()) || !items[index].enabled) return;
    runEvent(items[index].onClick);
}

CheckBox::CheckBox(Screen& owner, std::string name, Bounds bounds, std::string caption)
    : Control(owner, std::move(name), bounds), caption(std::move(caption)) {}

void CheckBox::click() {
    if (!acceptsInput()) return;
    runEvent([&] {
        checked = !checked;
        if (onClick) onClick();
    });
}

StringGrid::StringGrid(Screen& owner, std::string name, int colCount, int rowCount, Bounds bounds)
    : Control(owner, std::move(name), bounds), colCount_(0), rowCount_(0) {
    resize(colCount, rowCount);
}

void StringGrid::resize(int colCount, int rowCount) {
    std::vector<std::string> cells(static_cast<std::size_t>(std::max(0, colCount)) *
                                   static_cast<std::size_t>(std::max(0, rowCount)));
    for (int r = 0; r < std::min(rowCount, rowCount_); ++r)
        for (int c = 0; c < std::min(colCount, colCount_); ++c)
            cells[r * colCount + c] = std::move(cells_[r * colCount_ + c]);
    cells_ = std::move(cells);
    colCount_ = std::max(0, colCount);
    rowCount_ = std::max(0, rowCount);
}

const std::string& StringGrid::cell(int col, int row) const {
    static const std::string empty;
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return empty;
    return cells_[row * colCount_ + col];
}

void StringGrid::setCell(int col, int row, std::string text) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) {
        throw std::out_of_range("Rasterindex buiten bereik: " + name() + "[" + std::to_string(col) +
                                "," + std::to_string(row) + "]");
    }
    cells_[row * colCount_ + col] = std::move(text);
}

void StringGrid::clearCells() {
    for (auto& c : cells_) c.clear();
}

}  // namespace zor::ui
