#pragma once
// One QApplication for the whole test program, made on first use and never
// destroyed: at exit Qt's own globals may already be gone. The tests run with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>

namespace zor::pagestore::qt::test {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "zor-pagestore-qt-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace zor::pagestore::qt::test
