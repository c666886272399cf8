#include <gtest/gtest.h>

#include "shell_fixture.h"
#include "record/administration_files.h"

namespace zor::shell {
namespace {

struct MainScreenTest : testing::ShellFixture, ::testing::Test {
    void SetUp() override { startProgram(); }

    std::vector<std::string> mainPictures() {
        return {main().ButtonNT.pictureName(), main().ButtonTH.pictureName(),
                main().ButtonTRO.pictureName()};
    }
    bool allEnabled() {
        return main().ButtonNT.enabled && main().ButtonTH.enabled && main().ButtonTRO.enabled;
    }
    int clickSounds() {
        int n = 0;
        for (const auto& p : sounds.plays()) n += p.nativePath.ends_with("/Audio/start.wav");
        return n;
    }
};

TEST_F(MainScreenTest, StartsIdleOnTheBackdropWithTheMenuBackground) {
    EXPECT_EQ(app.title, "Klomperix Test");
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    EXPECT_TRUE(screens().backdrop->visible());
    EXPECT_EQ(main().Background.pictureName(), "ZORbckgr1.jpg");
    EXPECT_EQ(mainPictures(),
              (std::vector<std::string>{"BtnNToff.gif", "BtnTHoff.gif", "BtnTROoff.gif"}));
    EXPECT_TRUE(allEnabled());
    EXPECT_EQ(main().MenuAction, 0);
    EXPECT_TRUE(main().icon.registered);
    EXPECT_EQ(main().icon.tip, "Klomperix Test");
    EXPECT_EQ(main().Datapath(), data);
    EXPECT_EQ(main().Audiopath(), program / "Audio");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainScreenTest, NewAdministrationOpensTheSubtestChoiceHalfASecondLater) {
    main().ButtonNT.click();
    EXPECT_EQ(entry().resetCount, 1);
    EXPECT_EQ(main().MenuAction, 1);
    EXPECT_EQ(main().ResumeMode(), 0);
    EXPECT_EQ(main().ButtonNT.pictureName(), "BtnNTon.gif");
    EXPECT_EQ(clickSounds(), 1);
    clock.advance(499);
    EXPECT_EQ(app.activeScreen(), &main());
    clock.advance(1);
    EXPECT_EQ(app.activeScreen(), later().ZORkeuze);
}

TEST_F(MainScreenTest, SecondClickWithinHalfASecondStartsTheChoiceOnceAtOnce) {
    main().ButtonNT.click();
    clock.advance(100);
    main().ButtonNT.click();
    EXPECT_EQ(app.activeScreen(), later().ZORkeuze);
    EXPECT_FALSE(main().LatencyTimer.enabled());
    clock.advance(400);
    EXPECT_EQ(app.modalStack().size(), 2u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainScreenTest, SecondClickOnAnotherButtonCarriesOutTheLatestChoice) {
    main().ButtonNT.click();
    dialogs.openAnswers.push_back(std::nullopt);
    main().ButtonTH.click();
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(app.activeScreen(), &main());
}

TEST_F(MainScreenTest, CancellingTheResumeDialogReturnsToTheIdleMenu) {
    dialogs.openAnswers.push_back(std::nullopt);
    main().ButtonTH.click();
    EXPECT_EQ(main().ButtonTH.pictureName(), "BtnTHon.gif");
    EXPECT_EQ(main().ResumeMode(), 1);
    clock.advance(500);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const auto& req = dialogs.openRequests[0];
    EXPECT_EQ(req.title, "Incomplete ZOR-afname openen en hervatten");
    EXPECT_EQ(req.initialDir, data / "Incomplete afnames");
    EXPECT_EQ(req.defaultExt, "zta");
    EXPECT_EQ(req.filter, "ZOR-afname *.zta|*.zta");
    EXPECT_TRUE(req.hideReadOnly && req.noChangeDir && req.fileMustExist);
    EXPECT_EQ(mainPictures(),
              (std::vector<std::string>{"BtnNToff.gif", "BtnTHoff.gif", "BtnTROoff.gif"}));
    EXPECT_TRUE(allEnabled());
    EXPECT_EQ(main().LatencyState, 0);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    // The next click arms the menu again instead of firing at once.
    main().ButtonTRO.click();
    EXPECT_EQ(app.activeScreen(), &main());
}

TEST_F(MainScreenTest, ChosenResumeFileOpensTheEntryScreenInResumeMode) {
    const std::string file = (data / "Incomplete afnames" / "Jan01_05-03-2011.zta").string();
    dialogs.openAnswers.push_back(file);
    main().ButtonTH.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(main().ResumeMode(), 1);
    EXPECT_EQ(main().ResumeFileName(), file);
    EXPECT_EQ(entry().resetCount, 1);
}

TEST_F(MainScreenTest, AbsentDatapathAddressesNoDataFolderAndAChangeAppliesAtTheNextReset) {
    writeSettings("trpath=/r\r\n");
    EXPECT_EQ(main().Datapath(), data);  // not re-read before a reset
    dialogs.openAnswers = {std::nullopt, std::nullopt};
    main().ButtonTH.click();
    clock.advance(500);
    EXPECT_EQ(dialogs.openRequests[0].initialDir, data / "Incomplete afnames");
    EXPECT_EQ(main().Datapath(), "");
    // Never a folder relative to the working directory.
    EXPECT_EQ(record::PathsInDataFolder(main().Datapath(), "x").dataFW, "/Data/x_FW.wda");
    main().ButtonTH.click();
    clock.advance(500);
    EXPECT_EQ(dialogs.openRequests[1].initialDir, "/Incomplete afnames");
    EXPECT_EQ(main().reportFolder(), "/r");
}

TEST_F(MainScreenTest, DatapathEndingInASeparatorStillAddressesTheSameFolder) {
    writeSettings("datapath=" + data.string() + "/\r\n");
    main().ZORMainInitialize();
    const auto paths = record::PathsInDataFolder(main().Datapath(), "k");
    EXPECT_EQ(paths.dataFW, data / "Data" / "k_FW.wda");
    EXPECT_EQ(paths.incomplete, data / "Incomplete afnames" / "k.zta");
}

TEST_F(MainScreenTest, StoredReportsOpenTheViewerAndItsReturnRestoresThePicture) {
    main().ButtonTRO.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), later().TRO);
    EXPECT_EQ(main().ButtonTRO.pictureName(), "BtnTROon.gif");
    app.runEvent([&] { later().TRO->Close(); });
    EXPECT_EQ(main().ButtonTRO.pictureName(), "BtnTROoff.gif");
}

TEST_F(MainScreenTest, MissingPictureGivesAMessageNamingTheFile) {
    std::filesystem::remove(program / "Graphics" / "Buttons" / "BtnNTon.gif");
    main().ButtonNT.click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Klomperix Test");
    EXPECT_NE(
        dialogs.messages[0].text.find((program / "Graphics" / "Buttons" / "BtnNTon.gif").string()),
        std::string::npos)
        << dialogs.messages[0].text;
    // The click was abandoned: nothing is armed, the menu still works.
    clock.advance(1000);
    EXPECT_EQ(app.activeScreen(), &main());
    main().ButtonTRO.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), later().TRO);
}

TEST_F(MainScreenTest, MissingClickSoundIsReportedNamingTheFile) {
    std::filesystem::remove(program / "Audio" / "start.wav");
    main().About.click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find((program / "Audio" / "start.wav").string()),
              std::string::npos);
}

TEST_F(MainScreenTest, ProgramInformationFadesInAndOKClosesIt) {
    main().About.click();
    auto& about = *screens().about;
    EXPECT_EQ(app.activeScreen(), &about);
    EXPECT_EQ(about.caption, "Programma-informatie");
    EXPECT_EQ(about.opacity(), 230);
    EXPECT_EQ(about.Version.caption, "Versie: 1.0.2.1");
    about.OKButton.click();
    EXPECT_EQ(app.activeScreen(), &main());
    EXPECT_EQ(clickSounds(), 2);
}

TEST_F(MainScreenTest, ClickSoundIsClosedAtOnceWhenItHasAlreadyStopped) {
    main().ClickSound();
    EXPECT_EQ(main().MP1->mode(), ui::PlayerMode::Playing);
    std::filesystem::remove(program / "Audio" / "start.wav");
    ui::testing::writeWav((program / "Audio" / "start.wav").string(), 0);
    main().ClickSound();
    EXPECT_EQ(main().MP1->mode(), ui::PlayerMode::Stopped);
}

}  // namespace
}  // namespace zor::shell
