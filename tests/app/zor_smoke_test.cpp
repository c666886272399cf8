// Starts the real front end on the offscreen platform with a virtual clock
// and checks that the main menu is drawn and answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <unistd.h>

#include "shell/main_screen.h"
#include "shell/settings.h"
#include "ui/clock.h"
#include "ui/silent_sound.h"
#include "zor/program.h"

namespace zor::app {
namespace {

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "zor";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt's own objects must not outlive it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct ZorSmokeTest : ::testing::Test {
    QApplication& qapp = qtApp();
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("zor-smoke-" + std::to_string(::getpid()));
    ui::VirtualClock clock;
    ui::SilentSoundSystem sounds{clock};
    std::unique_ptr<shell::IniSettingsStore> settings;
    std::unique_ptr<Program> program;

    ZorSmokeTest() {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "data" / "Incomplete afnames");
        std::ofstream(dir / "settings.ini", std::ios::binary)
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n"
            << "datapath=" << (dir / "data").string() << "/\r\n";
        settings = std::make_unique<shell::IniSettingsStore>(dir / "settings.ini");
        // The program's own pictures and sounds, as they lie beside the executable.
        program = std::make_unique<Program>(clock, sounds, *settings,
                                            std::string(ZOR_SOURCE_DIR) + "/assets/");
        program->window().resize(1024, 768);
        program->window().show();
        program->start();
    }

    QImage shot() {
        QApplication::processEvents();
        return program->window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRect onWindow(const ui::Bounds& b) {
        const QRect screen = program->window().screenRect(*program->screens().main);
        return QRect(b.left, b.top, b.width, b.height).translated(screen.topLeft());
    }
};

std::set<QRgb> coloursIn(const QImage& image, QRect area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2) colours.insert(image.pixel(x, y));
    return colours;
}

int differingPixels(const QImage& a, const QImage& b, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++count;
    return count;
}

TEST_F(ZorSmokeTest, StartsOnTheMainMenuAndDrawsIt) {
    clock.advance(2000);
    shell::TZORMAINForm& main = *program->screens().main;
    ASSERT_EQ(program->app().activeScreen(), &main);

    const QImage menu = shot();
    const auto png = std::filesystem::temp_directory_path() / "zor-smoke-main-menu.png";
    ASSERT_TRUE(menu.save(QString::fromStdString(png.string())));
    std::cout << "main menu picture: " << png.string() << "\n";

    const QRect screen = program->window().screenRect(main);
    EXPECT_EQ(screen.size(), QSize(800, 600));
    EXPECT_GT(coloursIn(menu, screen).size(), 50u);  // pictures, not a blank window

    // Each menu button is drawn: hiding it changes its area.
    for (ui::ImageButton* button : {&main.ButtonNT, &main.ButtonTH, &main.ButtonTRO}) {
        button->visible = false;
        program->window().refresh();
        const QImage without = shot();
        button->visible = true;
        program->window().refresh();
        const QRect area = onWindow(button->bounds);
        EXPECT_GT(differingPixels(menu, without, area), area.width() * area.height() / 10)
            << button->name();
    }
}

TEST_F(ZorSmokeTest, TheMenuAnswersTheMouse) {
    clock.advance(2000);
    shell::TZORMAINForm& main = *program->screens().main;
    const QPoint nt = onWindow(main.ButtonNT.bounds).center();
    QTest::mouseMove(&program->window(), nt);
    EXPECT_EQ(program->window().cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&program->window(), Qt::LeftButton, {}, nt);
    EXPECT_EQ(main.ButtonNT.pictureName(), "BtnNTon.gif");
    clock.advance(500);
    EXPECT_NE(program->app().activeScreen(), &main);  // the subtest choice opened
}

TEST_F(ZorSmokeTest, TheExitButtonEndsTheProgram) {
    clock.advance(2000);
    shell::TZORMAINForm& main = *program->screens().main;
    bool ended = false;
    program->window().onTerminated = [&] { ended = true; };
    QTest::mouseClick(&program->window(), Qt::LeftButton, {}, onWindow(main.ButtonExit.bounds).center());
    EXPECT_FALSE(ended);  // the farewell picture stands for a second first
    clock.advance(1500);
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace zor::app
