#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zor::ui {

class Screen;

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

enum class Cursor { Default, Hand, HourGlass };

// The model of one control of a screen. Handlers change the fields freely;
// the front end draws the models after every event. Entry points named after
// user actions (`click`, `select`, `type`) run the handler as an event of
// the application, so failures are reported and the modal stack moves on.
class Control {
  public:
    Control(Screen& owner, std::string name, Bounds bounds = {});
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Screen& owner() const { return owner_; }
    const std::string& name() const { return name_; }

    Bounds bounds;
    bool visible = true;
    bool enabled = true;
    std::string hint;
    Cursor cursor = Cursor::Default;

  protected:
    // Runs a handler of this control as an event of the application.
    void runEvent(const std::function<void()>& handler);
    // Whether user input reaches the control: it is shown and enabled, and
    // its screen receives input.
    bool acceptsInput() const;

  private:
    Screen& owner_;
    std::string name_;
};

// A picture loaded from a file by name. Loading a file that cannot be read
// throws FileLoadError naming the file.
class Picture : public Control {
  public:
    using Control::Control;

    // Loads the file.
    void load(const std::filesystem::path& file);
    void clear();

    const std::string& fileName() const { return fileName_; }
    // The picture's base file name, e.g. "BtnNToff.gif".
    std::string pictureName() const;

    bool stretch = false;
    bool center = false;
    bool transparent = false;

  private:
    std::string fileName_;
};

// A picture that acts as a button: hand cursor, a picture per state.
class ImageButton : public Picture {
  public:
    ImageButton(Screen& owner, std::string name, Bounds bounds = {}, std::string hint = {});

    // A user click: ignored when disabled or hidden.
    void click();
    std::function<void()> onClick;
};

class Label : public Control {
  public:
    Label(Screen& owner, std::string name, Bounds bounds = {}, std::string caption = {});

    void click();  // a label beside an image button acts like it
    std::function<void()> onClick;

    enum class Alignment { Left, Center, Right };

    std::string caption;
    Alignment alignment = Alignment::Left;
    bool wordWrap = false;
    int fontSize = 12;  // pixels
    bool bold = false;
    std::uint32_t color = 0x000000;  // 0xRRGGBB
    bool transparent = false;
};

// A single-line text edit; text never exceeds maxLength characters (0: no limit).
class Edit : public Control {
  public:
    using Control::Control;

    const std::string& text() const { return text_; }
    // Sets the text from code; runs onChange directly when it changes.
    void setText(const std::string& text);
    // The user replaced the whole text (pasting); no key filter applies.
    void type(const std::string& text);
    // The user typed one character at the caret: onKeyPress sees it first and
    // may refuse it by setting it to 0; backspace (8) deletes the character
    // before the caret; other control characters change nothing, and a full
    // edit takes no more characters.
    void keyPress(char32_t key);

    std::function<void()> onChange;
    std::function<void(char32_t& key)> onKeyPress;
    int maxLength = 0;
    bool readOnly = false;
    int caret = -1;  // position in characters; -1 is the end of the text

  private:
    std::string text_;
};

class RadioGroup : public Control {
  public:
    using Control::Control;

    void select(int index);  // the user picks an item
    std::function<void()> onClick;

    std::string caption;
    std::vector<std::string> items;
    int itemIndex = -1;
};

// A drop-down list.
class ComboBox : public Control {
  public:
    using Control::Control;

    void select(int index);  // the user picks an item
    std::string text() const;
    std::function<void()> onChange;

    std::vector<std::string> items;
    int itemIndex = -1;
};

class PushButton : public Control {
  public:
    PushButton(Screen& owner, std::string name, Bounds bounds = {}, std::string caption = {});

    void click();
    std::function<void()> onClick;

    std::string caption;
    bool isDefault = false;
    bool isCancel = false;
    bool bold = false;
    std::optional<std::uint32_t> fontColor;  // 0xRRGGBB; none: the toolkit's button text
    std::optional<std::uint32_t> faceColor;  // 0xRRGGBB; none: the toolkit's button face
};

class CheckBox : public Control {
  public:
    CheckBox(Screen& owner, std::string name, Bounds bounds = {}, std::string caption = {});

    void click();  // the user toggles the box
    std::function<void()> onClick;

    std::string caption;
    bool checked = false;
};

// A grid of text cells, addressed by column and row.
class StringGrid : public Control {
  public:
    StringGrid(Screen& owner, std::string name, int colCount, int rowCount, Bounds bounds = {});

    int colCount() const { return colCount_; }
    int rowCount() const { return rowCount_; }
    // Resizing keeps the cells that stay inside the grid.
    void resize(int colCount, int rowCount);
    // Cells outside the grid read as empty text; writing one throws.
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);
    void clearCells();

  private:
    int colCount_;
    int rowCount_;
    std::vector<std::string> cells_;  // row by row
};

struct MenuItem {
    std::string name;
    std::string caption;   // "&" marks the access key
    std::string shortcut;  // e.g. "Alt+F4"
    bool enabled = true;
    std::function<void()> onClick;
};

// A pop-up menu; the front end shows it at the cursor when asked.
class PopupMenu : public Control {
  public:
    using Control::Control;

    // Asks the front end to show the menu at the cursor.
    void popup();
    // The user chose an item: ignored when it is disabled.
    void choose(int index);

    std::vector<MenuItem> items;
};

class ProgressBar : public Control {
  public:
    using Control::Control;

    void stepIt() { position = position + step > max ? max : position + step; }

    int min = 0;
    int max = 100;
    int position = 0;
    int step = 1;
    bool smooth = false;
};

}  // namespace zor::ui
