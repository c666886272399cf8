#pragma once

#include <string>

#include <QString>

namespace zor::ui::qt {

class FrontWindow;

// Writes where the active screen and its shown controls lie on the display
// to a text file, for tools that drive the program from outside with mouse
// clicks and key presses (a walkthrough under a virtual display). One line
// per item, fields separated by tabs, coordinates in display pixels:
//   screen  NAME  LEFT  TOP  WIDTH  HEIGHT  OPACITY  STACK(names, bottom first, ",")
//   control NAME  KIND  LEFT  TOP  WIDTH  HEIGHT  ENABLED(0/1)  TEXT
//   item    GROUP INDEX LEFT  TOP  WIDTH  HEIGHT  SELECTED(0/1) TEXT
// TEXT is a label's or button's caption, an edit's or drop-down's text or a
// picture's file name (which tells an image button's state). The file is
// replaced whole, and only when its content changed.
class LayoutDump {
  public:
    explicit LayoutDump(QString path) : path_(std::move(path)) {}

    void write(const FrontWindow& window);

  private:
    QString path_;
    std::string last_;
};

}  // namespace zor::ui::qt
