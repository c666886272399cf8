#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/errors.h"
#include "ui/screen.h"
#include "ui_fixture.h"

namespace zor::ui {
namespace {

struct PictureScreen : Screen {
    explicit PictureScreen(Application& app) : Screen(app, "PictureScreen") {
        Button.onClick = [this] {
            Button.load(folder / "Graphics" / "Buttons" / "BtnNTon.gif");
            afterLoad = true;
        };
    }
    std::filesystem::path folder;
    ImageButton Button{*this, "Button", {59, 429, 209, 130}, "Nieuw"};
    bool afterLoad = false;
};

struct ControlsTest : testing::UiFixture, ::testing::Test {};

TEST_F(ControlsTest, MissingPictureGivesAMessageNamingTheFileAndAbandonsTheAction) {
    auto dir = testing::freshFolder("pictures");
    PictureScreen s(app);
    s.folder = dir;
    s.ShowModal();
    s.Button.click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find(dir.string() + "/Graphics/Buttons/BtnNTon.gif"),
              std::string::npos)
        << dialogs.messages[0].text;
    EXPECT_FALSE(s.afterLoad);
    EXPECT_TRUE(s.Button.fileName().empty());
}

TEST_F(ControlsTest, PictureLoadsAndNamesItsFile) {
    auto dir = testing::freshFolder("pictures2");
    std::filesystem::create_directories(dir / "Graphics" / "Buttons");
    std::ofstream(dir / "Graphics" / "Buttons" / "BtnNTon.gif") << "GIF89a";
    PictureScreen s(app);
    s.folder = dir;
    s.ShowModal();
    s.Button.click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(s.afterLoad);
    EXPECT_EQ(s.Button.pictureName(), "BtnNTon.gif");
    EXPECT_EQ(s.Button.fileName(), (dir / "Graphics/Buttons/BtnNTon.gif").string());
}

TEST_F(ControlsTest, EditKeepsToItsMaximumLengthInCharacters) {
    Screen s(app, "S");
    s.Show();
    Edit e(s, "Ecode");
    e.maxLength = 4;
    int changes = 0;
    e.onChange = [&] { ++changes; };
    e.type("Jöran");
    EXPECT_EQ(e.text(), "Jöra");
    e.setText("Jöra");
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, RadioAndComboSelectOnlyExistingItems) {
    Screen s(app, "S");
    s.Show();
    RadioGroup rg(s, "RGsekse");
    rg.items = {"jongen", "meisje"};
    ComboBox cb(s, "CBgroep");
    cb.items = {"groep 3", "groep 4"};
    rg.select(1);
    rg.select(2);
    cb.select(0);
    EXPECT_EQ(rg.itemIndex, 1);
    EXPECT_EQ(cb.text(), "groep 3");
    EXPECT_EQ(s.controls().size(), 2u);
}

}  // namespace
}  // namespace zor::ui

namespace zor::ui {
namespace {

TEST_F(ControlsTest, GridKeepsCellsWhenResizedAndRejectsWritesOutside) {
    Screen s(app, "S");
    StringGrid g(s, "SGRscoreFW", 3, 15);
    g.setCell(1, 14, "34");
    g.setCell(2, 14, "1");
    g.resize(3, 16);
    EXPECT_EQ(g.cell(1, 14), "34");
    EXPECT_EQ(g.cell(2, 15), "");
    EXPECT_EQ(g.cell(5, 5), "");
    EXPECT_THROW(g.setCell(3, 0, "x"), std::out_of_range);
    g.resize(2, 15);
    EXPECT_EQ(g.cell(1, 14), "34");
    EXPECT_EQ(g.cell(2, 14), "");
}

}  // namespace
}  // namespace zor::ui

namespace zor::ui {
namespace {

// A screen whose code field takes digits only, as a key filter does.
struct FilterScreen : Screen {
    explicit FilterScreen(Application& app) : Screen(app, "FilterScreen") {
        Ecode.maxLength = 3;
        Ecode.onKeyPress = [this](char32_t& key) {
            if (key != 8 && (key < U'0' || key > U'9')) {
                key = 0;
                this->app().showMessage("Alleen cijfers");
            }
        };
        ActiveControl = &Ecode;
    }
    Edit Ecode{*this, "Ecode"};
};

TEST_F(ControlsTest, TypedCharactersPassTheKeyFilterOfTheFocusedEdit) {
    FilterScreen s(app);
    s.ShowModal();
    for (char32_t k : {U'1', U'x', U'2', U'3', U'4'}) app.keyPress(k);
    EXPECT_EQ(s.Ecode.text(), "123");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    app.keyPress(8);
    s.Ecode.caret = 0;
    app.keyPress(U'9');
    EXPECT_EQ(s.Ecode.text(), "912");
    EXPECT_EQ(s.Ecode.caret, 1);
    app.keyPress(8);
    app.keyPress(8);
    EXPECT_EQ(s.Ecode.text(), "12");
    EXPECT_EQ(s.Ecode.caret, 0);
}

}  // namespace
}  // namespace zor::ui
