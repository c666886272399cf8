#include "ui/qt/front_window.h"

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <filesystem>
#include <fstream>

#include "qt_test_app.h"
#include "ui/application.h"
#include "ui/errors.h"
#include "ui/qt/qt_pictures.h"
#include "ui/screen.h"
#include "ui/scripted_dialogs.h"
#include "ui/silent_sound.h"
#include "ui_fixture.h"

namespace zor::ui::qt {
namespace {

const QColor kBlue(20, 40, 200);
const QColor kRed(220, 10, 10);

std::string assetButton(const std::string& name) {
    return std::string(ZOR_SOURCE_DIR) + "/assets/Graphics/Buttons/" + name;
}

bool near(QColor a, QColor b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

struct PictureScreen : Screen {
    PictureScreen(Application& app, const std::string& name, Bounds b = {0, 0, 800, 600})
        : Screen(app, name, b) {}
    Picture Background{*this, "Background", {0, 0, bounds.width, bounds.height}};
};

struct MenuScreen : PictureScreen {
    using PictureScreen::PictureScreen;
    ImageButton Button{*this, "Button", {100, 400, 200, 100}, "Nieuwe afname"};
    Label Caption{*this, "Caption", {100, 520, 200, 30}, "NIEUW"};
    int clicks = 0;
    int captionClicks = 0;
};

struct FormScreen : Screen {
    explicit FormScreen(Application& app) : Screen(app, "Form") {}
    Edit Ecode{*this, "Ecode", {50, 50, 200, 24}};
    Edit Egroep{*this, "Egroep", {50, 100, 200, 24}};
    RadioGroup RGsekse{*this, "RGsekse", {50, 150, 200, 80}};
    CheckBox Check{*this, "Check", {50, 250, 200, 24}, "Akkoord"};
    PushButton OK{*this, "OK", {50, 300, 100, 30}, "OK"};
    int okClicks = 0;
    void onKeyDown(int& key, Shift) override {
        if (key >= '0' && key <= '9') key = 0;  // no digits
    }
    void onKeyPress(char32_t& key) override {
        if (key >= U'a' && key <= U'z') key = key - U'a' + U'A';
    }
};

// Keeps a picture of the window at every immediate repaint.
struct RecordingWindow : FrontWindow {
    using FrontWindow::FrontWindow;
    std::vector<QImage> frames;
    void repaintNow(Screen& screen) override {
        FrontWindow::repaintNow(screen);
        frames.push_back(grab().toImage());
    }
};

struct FrontWindowTest : ::testing::Test {
    QApplication& qapp = testing::qtApp();
    std::filesystem::path dir = ui::testing::freshFolder("front-window");
    VirtualClock clock;
    ScriptedDialogs dialogs;
    QtPictureSource pictures;
    SilentSoundSystem sounds{clock};
    Application app{clock, dialogs, pictures, sounds};
    RecordingWindow window{app, pictures};

    FrontWindowTest() {
        solid(kBlue, 800, 600).save(QString::fromStdString(file("blue.jpg")));
        solid(kRed, 200, 100).save(QString::fromStdString(file("red.png")));
        window.resize(1000, 700);  // the design area starts at (100, 50)
        window.show();
    }
    static QImage solid(QColor c, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(c);
        return image;
    }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    QImage shot() { return window.grab().toImage(); }
    static QPoint at(int x, int y) { return {100 + x, 50 + y}; }
};

TEST_F(FrontWindowTest, DrawsTheScreenCentredOnABlackBackdrop) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Button.load(file("red.png"));
    menu.Show();
    const QImage image = shot();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(990, 690), QColor(Qt::black));
    EXPECT_TRUE(near(image.pixelColor(at(10, 10)), kBlue));
    EXPECT_TRUE(near(image.pixelColor(at(200, 450)), kRed));
    // Pictures from GIF files too, at their own size.
    menu.Button.load(assetButton("BtnNToff.gif"));
    window.refresh();
    EXPECT_FALSE(near(shot().pixelColor(at(200, 450)), kRed));
    EXPECT_FALSE(near(shot().pixelColor(at(200, 450)), kBlue));
}

TEST_F(FrontWindowTest, HiddenControlsAndScreensAreNotDrawn) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Button.load(file("red.png"));
    menu.Button.visible = false;
    menu.Show();
    EXPECT_TRUE(near(shot().pixelColor(at(200, 450)), kBlue));
    menu.Hide();
    window.refresh();
    EXPECT_EQ(shot().pixelColor(at(200, 450)), QColor(Qt::black));
}

TEST_F(FrontWindowTest, AFadingScreenIsDrawnAtEachOpacityStep) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.fade = {true, 128, 255};
    menu.Show();  // fades in: 0, 128, 255
    ASSERT_EQ(window.frames.size(), 3u);
    EXPECT_EQ(window.frames[0].pixelColor(at(10, 10)), QColor(Qt::black));
    const QColor half = window.frames[1].pixelColor(at(10, 10));
    EXPECT_TRUE(near(half, QColor(kBlue.red() / 2, kBlue.green() / 2, kBlue.blue() / 2), 16))
        << half.name().toStdString();
    EXPECT_TRUE(near(window.frames[2].pixelColor(at(10, 10)), kBlue));
}

TEST_F(FrontWindowTest, TheModalShowingIsDrawnOverTheScreenBeneathAndTakesTheInput) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Button.load(file("red.png"));
    menu.Button.onClick = [&] { ++menu.clicks; };
    menu.Show();
    PictureScreen box(app, "Box", {0, 0, 200, 100});  // centred: (300, 250) in the design area
    box.Background.load(file("red.png"));
    app.runEvent([&] { box.ShowModal(); });
    const QImage image = shot();
    EXPECT_TRUE(near(image.pixelColor(at(400, 300)), kRed));
    EXPECT_TRUE(near(image.pixelColor(at(10, 10)), kBlue));
    ASSERT_EQ(window.drawingOrder().size(), 2u);
    EXPECT_EQ(window.drawingOrder().back(), &box);

    QTest::mouseClick(&window, Qt::LeftButton, {}, at(200, 450));
    EXPECT_EQ(menu.clicks, 0);  // the screen beneath takes no clicks
    app.runEvent([&] { box.setModalResult(ModalResult::OK); });
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(200, 450));
    EXPECT_EQ(menu.clicks, 1);
}

TEST_F(FrontWindowTest, TheTransparentColourLetsTheScreenBeneathShow) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Show();
    PictureScreen notice(app, "Notice");
    notice.transparentColorEnabled = true;
    notice.Background.bounds = {230, 220, 340, 160};
    notice.Background.load(std::string(ZOR_SOURCE_DIR) + "/assets/Graphics/Opgeslagen.gif");
    app.runEvent([&] { notice.ShowModal(); });
    const QImage image = shot();
    EXPECT_TRUE(near(image.pixelColor(at(10, 10)), kBlue));    // outside the picture
    EXPECT_TRUE(near(image.pixelColor(at(230, 220)), kBlue));  // the picture's aqua corner
    EXPECT_TRUE(near(image.pixelColor(at(400, 300)), QColor(74, 95, 138), 40));  // the panel
}

TEST_F(FrontWindowTest, ClicksReachButtonsAndLabelsWhenEnabled) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Button.load(file("red.png"));
    menu.Button.onClick = [&] { ++menu.clicks; };
    menu.Caption.onClick = [&] { ++menu.captionClicks; };
    menu.Show();
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(150, 450));
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(150, 530));
    EXPECT_EQ(menu.clicks, 1);
    EXPECT_EQ(menu.captionClicks, 1);
    menu.Button.enabled = false;
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(150, 450));
    EXPECT_EQ(menu.clicks, 1);
    // A press on the button and a release elsewhere is no click.
    menu.Button.enabled = true;
    QTest::mousePress(&window, Qt::LeftButton, {}, at(150, 450));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, at(600, 100));
    EXPECT_EQ(menu.clicks, 1);
}

// A control another subsystem shows with a widget of its own.
struct DisplayControl : Control {
    using Control::Control;
};
struct DisplayWidgets : ControlWidgets {
    std::unique_ptr<QWidget> makeWidget(Control& c, QWidget& parent) const override {
        if (!dynamic_cast<DisplayControl*>(&c)) return nullptr;
        auto widget = std::make_unique<QWidget>(&parent);
        widget->setFocusPolicy(Qt::StrongFocus);
        return widget;
    }
};

TEST_F(FrontWindowTest, AControlsWidgetLiesOnItsPlaceAndTakesTheKeysWhileNoScreenCoversIt) {
    DisplayWidgets maker;
    window.addControlWidgets(maker);
    PictureScreen screen(app, "Report");
    DisplayControl display(screen, "PrintPreview", {100, 100, 400, 300});
    app.runEvent([&] { screen.Show(); });
    QWidget* widget = window.childAt(at(200, 200));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(at(100, 100), QSize(400, 300)));
    EXPECT_EQ(window.focusWidget(), widget);

    // A box over part of it hides it, and the window takes the keys back.
    PictureScreen box(app, "Box", {300, 250, 200, 100});
    app.runEvent([&] { box.Show(); });
    EXPECT_TRUE(widget->isHidden());
    EXPECT_NE(window.focusWidget(), widget);
    app.runEvent([&] { box.Hide(); });
    EXPECT_FALSE(widget->isHidden());
    display.visible = false;
    window.refresh();
    EXPECT_TRUE(widget->isHidden());
}

TEST_F(FrontWindowTest, HandCursorOverImageButtonsHourglassWhenTheApplicationAsks) {
    MenuScreen menu(app, "Main");
    menu.Background.load(file("blue.jpg"));
    menu.Button.load(file("red.png"));
    menu.Show();
    QTest::mouseMove(&window, at(150, 450));
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&window, at(600, 100));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    // A handler that waits with the hourglass shows it while it waits, as soon
    // as it has the screen drawn.
    Qt::CursorShape whileWaiting = Qt::ArrowCursor;
    app.runEvent([&] {
        app.cursor = Cursor::HourGlass;
        menu.repaint();
        whileWaiting = window.cursor().shape();
    });
    EXPECT_EQ(whileWaiting, Qt::WaitCursor);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
}

TEST_F(FrontWindowTest, HintsShowAsToolTips) {
    MenuScreen menu(app, "Main");
    menu.Button.load(file("red.png"));
    menu.Show();
    QHelpEvent help(QEvent::ToolTip, at(150, 450), window.mapToGlobal(at(150, 450)));
    QApplication::sendEvent(&window, &help);
    EXPECT_EQ(QToolTip::text(), "Nieuwe afname");
}

TEST_F(FrontWindowTest, KeysGoThroughTheScreensFiltersBeforeTheEdit) {
    FormScreen form(app);
    std::string changes;
    form.Ecode.onChange = [&] { changes += form.Ecode.text() + ";"; };
    form.Show();
    QTest::keyClicks(&window, "a1b");
    EXPECT_EQ(form.Ecode.text(), "AB");
    EXPECT_EQ(changes, "A;AB;");
    QTest::keyClick(&window, Qt::Key_Backspace);
    EXPECT_EQ(form.Ecode.text(), "A");

    // The model's text stays the truth: a handler that rewrites it wins.
    form.Ecode.onChange = [&] { form.Ecode.setText("X"); };
    QTest::keyClicks(&window, "q");
    EXPECT_EQ(form.Ecode.text(), "X");
    form.Ecode.onChange = nullptr;

    form.Egroep.maxLength = 2;
    QTest::keyClick(&window, Qt::Key_Tab);
    QTest::keyClicks(&window, "xyz");
    EXPECT_EQ(form.Egroep.text(), "XY");
    EXPECT_EQ(form.ActiveControl, &form.Egroep);

    // A click places the focus in the edit clicked.
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(240, 62));
    QTest::keyClicks(&window, "k");
    EXPECT_EQ(form.Ecode.text(), "XK");
    // The edit's own filter, the caret keys and Delete.
    form.Ecode.onKeyPress = [](char32_t& key) {
        if (key == U'Q') key = 0;
    };
    QTest::keyClicks(&window, "qm");
    EXPECT_EQ(form.Ecode.text(), "XKM");
    QTest::keyClick(&window, Qt::Key_Home);
    QTest::keyClick(&window, Qt::Key_Delete);
    QTest::keyClicks(&window, "p");
    EXPECT_EQ(form.Ecode.text(), "PKM");
}

struct EntryScreen : Screen {
    explicit EntryScreen(Application& app) : Screen(app, "Entry") {
        Eafndag.readOnly = true;
        Eafndag.setText("09");
        RGsekse.items = {"Meisje", "Jongen"};
        RGsekse.onClick = [this] { picks += std::to_string(RGsekse.itemIndex); };
        // A full code sends the keyboard on to the sex, as the entry screen does.
        Ecode.maxLength = 2;
        Ecode.onChange = [this] {
            if (Ecode.text().size() == 2) ActiveControl = &RGsekse;
        };
    }
    Edit Ecode{*this, "Ecode", {50, 50, 200, 24}};
    RadioGroup RGsekse{*this, "RGsekse", {50, 100, 300, 32}};
    Edit Eafndag{*this, "Eafndag", {50, 150, 40, 24}};
    Edit Eschool{*this, "Eschool", {50, 200, 200, 24}};
    std::string picks;
};

TEST_F(FrontWindowTest, TabPassesReadOnlyEditsByAndStopsAtRadioGroups) {
    EntryScreen entry(app);
    entry.Show();
    window.refresh();
    EXPECT_EQ(entry.ActiveControl, &entry.Ecode);
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(entry.ActiveControl, &entry.RGsekse);
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(entry.ActiveControl, &entry.Eschool);
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(entry.ActiveControl, &entry.Ecode);
    QTest::keyClick(&window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(entry.ActiveControl, &entry.Eschool);
    QTest::keyClick(&window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(entry.ActiveControl, &entry.RGsekse);

    // The arrow keys pick the sex round the group; typing changes nothing.
    QTest::keyClick(&window, Qt::Key_Right);
    QTest::keyClick(&window, Qt::Key_Right);
    QTest::keyClick(&window, Qt::Key_Down);
    QTest::keyClick(&window, Qt::Key_Up);
    QTest::keyClicks(&window, "x");
    EXPECT_EQ(entry.picks, "0101");
    EXPECT_EQ(entry.Eschool.text(), "");

    // A read-only edit can still be clicked into; Tab leaves it for the next stop.
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(60, 162));
    EXPECT_EQ(entry.ActiveControl, &entry.Eafndag);
    QTest::keyClicks(&window, "1");
    EXPECT_EQ(entry.Eafndag.text(), "09");
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(entry.ActiveControl, &entry.Eschool);

    // A handler that sends the keyboard to the radio group is obeyed.
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(100, 62));
    QTest::keyClicks(&window, "ab");
    EXPECT_EQ(entry.Ecode.text(), "ab");
    EXPECT_EQ(entry.ActiveControl, &entry.RGsekse);
    // A click on an item gives the group the keyboard too.
    entry.ActiveControl = &entry.Eschool;
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(60, 116));
    EXPECT_EQ(entry.ActiveControl, &entry.RGsekse);
}

TEST_F(FrontWindowTest, MenuShortcutsAndTheDesktopsCloseRunTheMenuItem) {
    MenuScreen menu(app, "Main");
    PopupMenu popup(menu, "PopupMenu1");
    int exits = 0;
    popup.items = {{"", "&Minimaliseren", "", false, {}},
                   {"Exit1", "Sluiten", "Alt+F4", true, [&] { ++exits; }}};
    menu.Show();
    QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(exits, 1);
    window.close();
    EXPECT_EQ(exits, 2);
    EXPECT_TRUE(window.isVisible());  // the program decides whether it ends
}

TEST_F(FrontWindowTest, ALowRadioGroupLaysItsItemsSideBySide) {
    FormScreen form(app);
    form.RGsekse.items = {"Meisje", "Jongen"};
    form.RGsekse.bounds = {50, 150, 300, 32};
    const QRect first = layout::radioItemRect(form.RGsekse, 0);
    const QRect second = layout::radioItemRect(form.RGsekse, 1);
    EXPECT_EQ(first.top(), second.top());
    EXPECT_LT(first.right(), second.left());
    EXPECT_GE(first.height(), layout::kRadioMinItemHeight);
    EXPECT_EQ(layout::radioItemAt(form.RGsekse, second.center()), 1);
}

TEST_F(FrontWindowTest, StandardControlsTakeClicksAndTheDefaultButtonTakesReturn) {
    FormScreen form(app);
    form.RGsekse.items = {"Jongen", "Meisje"};
    form.OK.isDefault = true;
    form.OK.onClick = [&] { ++form.okClicks; };
    form.Show();
    const QRect second = layout::radioItemRect(form.RGsekse, 1);
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(second.center().x(), second.center().y()));
    EXPECT_EQ(form.RGsekse.itemIndex, 1);
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(60, 262));
    EXPECT_TRUE(form.Check.checked);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(form.okClicks, 1);
    QTest::mouseClick(&window, Qt::LeftButton, {}, at(100, 315));
    EXPECT_EQ(form.okClicks, 2);
    // Everything drawn: the window shows more than the black backdrop.
    EXPECT_NE(shot().pixelColor(at(60, 60)), QColor(Qt::black));
}

TEST_F(FrontWindowTest, AMissingOrBrokenPictureIsAnErrorNamingTheFile) {
    MenuScreen menu(app, "Main");
    try {
        menu.Background.load(file("nowhere.jpg"));
        FAIL() << "no error";
    } catch (const FileLoadError& e) {
        EXPECT_EQ(e.file(), file("nowhere.jpg"));
        EXPECT_NE(std::string(e.what()).find("nowhere.jpg"), std::string::npos);
    }
    std::ofstream(file("broken.gif")) << "GIF89a but nothing more";
    EXPECT_THROW(menu.Button.load(file("broken.gif")), FileLoadError);
    // Through an event the error becomes a message and the program goes on.
    app.runEvent([&] { menu.Button.load(file("broken.gif")); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("broken.gif"), std::string::npos);
}

}  // namespace
}  // namespace zor::ui::qt
