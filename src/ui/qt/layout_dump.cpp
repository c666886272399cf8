#include "ui/qt/layout_dump.h"

#include <sstream>

#include "files/atomic_file.h"
#include "ui/qt/front_window.h"
#include "ui/qt/screen_painter.h"
#include "ui/screen.h"

namespace zor::ui::qt {

namespace {
// Tabs and line breaks inside a text would break the line format.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

const char* kindOf(const Control& c) {
    if (dynamic_cast<const ImageButton*>(&c)) return "imagebutton";
    if (dynamic_cast<const Picture*>(&c)) return "picture";
    if (dynamic_cast<const Label*>(&c)) return "label";
    if (dynamic_cast<const Edit*>(&c)) return "edit";
    if (dynamic_cast<const RadioGroup*>(&c)) return "radiogroup";
    if (dynamic_cast<const ComboBox*>(&c)) return "combobox";
    if (dynamic_cast<const PushButton*>(&c)) return "pushbutton";
    if (dynamic_cast<const CheckBox*>(&c)) return "checkbox";
    if (dynamic_cast<const StringGrid*>(&c)) return "grid";
    if (dynamic_cast<const ProgressBar*>(&c)) return "progressbar";
    return "other";
}

std::string textOf(const Control& c) {
    if (auto* x = dynamic_cast<const Picture*>(&c)) return x->pictureName();
    if (auto* x = dynamic_cast<const Label*>(&c)) return x->caption;
    if (auto* x = dynamic_cast<const Edit*>(&c)) return x->text();
    if (auto* x = dynamic_cast<const RadioGroup*>(&c)) return x->caption;
    if (auto* x = dynamic_cast<const ComboBox*>(&c)) return x->text();
    if (auto* x = dynamic_cast<const PushButton*>(&c)) return x->caption;
    if (auto* x = dynamic_cast<const CheckBox*>(&c)) return x->caption;
    return {};
}

// Where a screen lies on the display.
QRect onDisplay(const FrontWindow& window, const Screen& screen) {
    return window.screenRect(screen).translated(window.mapToGlobal(QPoint(0, 0)));
}

void rect(std::ostream& out, const QRect& r) {
    out << '\t' << r.left() << '\t' << r.top() << '\t' << r.width() << '\t' << r.height();
}
}  // namespace

void LayoutDump::write(const FrontWindow& window) {
    const Application& app = window.application();
    Screen* screen = app.activeScreen();
    std::ostringstream out;
    if (screen && screen->visible()) {
        const QRect area = onDisplay(window, *screen);
        out << "screen\t" << screen->name();
        rect(out, area);
        out << '\t' << screen->opacity() << '\t';
        const char* separator = "";
        for (Screen* s : app.modalStack()) {
            out << separator << s->name();
            separator = ",";
        }
        out << '\n';
        for (const Control* c : screen->controls()) {
            if (!c->visible || c->bounds.width <= 0) continue;
            out << "control\t" << c->name() << '\t' << kindOf(*c);
            rect(out, rectOf(c->bounds).translated(area.topLeft()));
            out << '\t' << (c->enabled ? 1 : 0) << '\t' << oneLine(textOf(*c)) << '\n';
            if (auto* group = dynamic_cast<const RadioGroup*>(c)) {
                for (int i = 0; i < int(group->items.size()); ++i) {
                    out << "item\t" << c->name() << '\t' << i;
                    rect(out, layout::radioItemRect(*group, i).translated(area.topLeft()));
                    out << '\t' << (i == group->itemIndex ? 1 : 0) << '\t'
                        << oneLine(group->items[std::size_t(i)]) << '\n';
                }
            }
        }
    }
    const std::string text = out.str();
    if (text == last_) return;
    // A debugging aid: a dump that cannot be written is tried again at the next change.
    try {
        files::ReplaceFile(path_.toStdString(), text);
        last_ = text;
    } catch (const files::WriteError&) {
    }
}

}  // namespace zor::ui::qt
