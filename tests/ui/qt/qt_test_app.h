#pragma once

#include <QApplication>
#include <QByteArray>

namespace zor::ui::qt::testing {

// The one QApplication of a test program, on the offscreen platform unless
// another one is chosen.
inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "zor_ui_qt_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt's own objects must not outlive it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace zor::ui::qt::testing
