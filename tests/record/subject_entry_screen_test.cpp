#include "record/subject_entry_screen.h"

#include <gtest/gtest.h>

#include "record/administration_files.h"
#include "sample_record.h"
#include "shell_fixture.h"

namespace zor::record {
namespace {

namespace fs = std::filesystem;

// The administration screens as the entry screen sees them: every request is
// noted, and an introduction opens as the stand-in screen of its subtest.
struct FakeAdministrationScreens : AdministrationScreens {
    int chosen = 2;
    std::vector<std::string> calls;
    shell::LaterScreens* later = nullptr;

    int ChosenSubtest() const override { return chosen; }
    void ResetIntroductionsAndTests() override { calls.push_back("reset"); }
    void PrepareFreshRun() override { calls.push_back("fresh"); }
    void PrepareContinue() override { calls.push_back("continue"); }
    void ClearTimerPhases() override { calls.push_back("timers"); }
    void ShowIntroduction(Subtest subtest, bool second) override {
        calls.push_back(std::string("intro ") + std::string(SubtestCode(subtest)) +
                        (second ? " second" : " first"));
        (subtest == Subtest::FW ? later->FWin : later->FVin)->ShowModal();
    }
};

struct EntryBuilder : shell::testing::StandInScreenBuilder {
    explicit EntryBuilder(ui::Application& app) : StandInScreenBuilder(app), app_(app) {}
    shell::SubjectEntry& createSubjectEntry(shell::ShellScreens& shell) override {
        entry = std::make_unique<TZORinvoer>(app_, shell, tests);
        return *entry;
    }
    ui::Application& app_;
    FakeAdministrationScreens tests;
    std::unique_ptr<TZORinvoer> entry;
};

struct SubjectEntryTest : shell::testing::ShellFixture, ::testing::Test {
    EntryBuilder builder{app};
    std::unique_ptr<shell::Startup> startup;

    void SetUp() override {
        touch(program / "Graphics" / "ZORinvoer.jpg");
        for (const char* name :
             {"BtnSave.gif", "BtnBack.gif", "BtnHMoff.gif", "BtnHMon.gif", "BtnSToff.gif",
              "BtnSTon.gif", "BtnSTred.gif", "BtnTHoff.gif", "BtnTHon.gif", "BtnTHred.gif"})
            touch(program / "Graphics" / "Buttons" / name);
        fs::create_directories(data / "Data");
        startup = std::make_unique<shell::Startup>(app, settings, program.string() + "/", builder);
        startup->start();
        clock.advance(2000);
        builder.tests.later = &startup->screens().later;
    }

    TZORinvoer& entry() { return *builder.entry; }
    std::vector<std::string>& calls() { return builder.tests.calls; }
    shell::LaterScreens& laterScreens() { return startup->screens().later; }

    // The main menu's new administration, then the subtest choice opening the entry screen.
    void OpenForNewAdministration() {
        startup->screens().main->ButtonNT.click();
        clock.advance(500);
        entry().ShowModal();
    }
    void Type(ui::Edit& edit, std::string_view text) {
        for (char c : text) {
            entry().ActiveControl = &edit;
            app.keyPress(static_cast<unsigned char>(c));
        }
    }
    void EnterSubject(std::string_view code) {
        Type(entry().Ecode, code);
        entry().RGsekse.select(0);
        Type(entry().Egebdag, "10");
        Type(entry().Egebmnd, "06");
        Type(entry().Egebjaar, "2002");
        Type(entry().Eschool, "De Regenboog");
    }
    std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> ConfirmTexts() {
        std::vector<std::string> texts;
        for (const auto& c : dialogs.confirmations) texts.push_back(c.text);
        return texts;
    }
};

TEST_F(SubjectEntryTest, ShowsTodayAndAnEmptySubject) {
    OpenForNewAdministration();
    EXPECT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(entry().Eafndag.text(), "05");  // the virtual clock's 5 March 2011
    EXPECT_EQ(entry().Eafnmnd.text(), "03");
    EXPECT_EQ(entry().Eafnjaar.text(), "2011");
    EXPECT_EQ(entry().Ecode.text(), "");
    EXPECT_EQ(entry().ActiveControl, &entry().Ecode);
    EXPECT_EQ(entry().ButtonST.pictureName(), "BtnSToff.gif");
    EXPECT_FALSE(entry().ButtonContin.visible);
    EXPECT_FALSE(entry().Afname.SubjectValid);
    EXPECT_EQ(calls().front(), "reset");
}

TEST_F(SubjectEntryTest, KeyFiltersRefuseWithTheirMessages) {
    OpenForNewAdministration();
    Type(entry().Ecode, "A b");
    EXPECT_EQ(entry().Ecode.text(), "Ab");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Ongeldige ingave! Alleen cijfers {0 t/m 9}, letters {aA t/m zZ} en # ( ) - _ zijn "
              "hier toegestaan.");
    entry().Ecode.type("Jan/../01 ;x");  // pasted
    EXPECT_EQ(entry().Ecode.text(), "Jan01 x");
    EXPECT_EQ(entry().Afname.Ecode, "Jan01 x");
    Type(entry().Egebdag, "1x");
    EXPECT_EQ(entry().Egebdag.text(), "1");
    EXPECT_EQ(dialogs.messages.back().text,
              "Ongeldige ingave! Alleen de cijfers 0 t/m 9 zijn hier toegestaan.");
}

TEST_F(SubjectEntryTest, FullFieldsMoveTheFocusOnAndAValidSubjectLightsStart) {
    OpenForNewAdministration();
    entry().ActiveControl = &entry().Egebdag;
    app.keyPress(U'1');
    app.keyPress(U'0');
    EXPECT_EQ(entry().ActiveControl, &entry().Egebmnd);
    app.keyPress(U'0');
    app.keyPress(U'6');
    EXPECT_EQ(entry().ActiveControl, &entry().Egebjaar);
    for (char32_t c : U"2002") app.keyPress(c);
    EXPECT_EQ(entry().ActiveControl, &entry().Eschool);
    EXPECT_EQ(entry().ButtonST.pictureName(), "BtnSToff.gif");  // no code or sex yet
    entry().RGsekse.select(1);
    Type(entry().Ecode, "Jan01");
    EXPECT_TRUE(entry().Afname.SubjectValid);
    EXPECT_EQ(entry().Afname.Edit3, "8;8");
    EXPECT_EQ(entry().ButtonST.pictureName(), "BtnSTred.gif");
}

TEST_F(SubjectEntryTest, StartAddsTheDataLinesAndOpensTheChosenIntroduction) {
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().ButtonST.click();
    EXPECT_TRUE(dialogs.confirmations.empty());
    ASSERT_EQ(entry().Afname.MdataFW.size(), 1u);
    EXPECT_EQ(entry().Afname.MdataFW[0], "Jan01;FW;meisje;10;06;2002;05;03;2011;De Regenboog;;;;0");
    EXPECT_EQ(entry().Afname.AfnameKey, "Jan01_05-03-2011");
    EXPECT_EQ(entry().Afname.MemoCom, (std::vector<std::string>{"Jan01_05-03-2011", "0"}));
    EXPECT_EQ(entry().ButtonST.pictureName(), "BtnSTon.gif");
    EXPECT_FALSE(entry().ButtonNP.enabled);
    clock.advance(500);
    EXPECT_EQ(calls().back(), "intro FW first");
    EXPECT_EQ(app.activeScreen(), laterScreens().FWin);
    // Nothing is written before the first save.
    EXPECT_FALSE(fs::exists(data / "Data" / "Jan01_05-03-2011_FW.wda"));
}

TEST_F(SubjectEntryTest, StartChecksInOrder) {
    OpenForNewAdministration();
    dialogs.confirmAnswers = {ui::ModalResult::OK, ui::ModalResult::OK, ui::ModalResult::OK,
                              ui::ModalResult::OK};
    entry().ButtonST.click();
    Type(entry().Ecode, "K1");
    entry().ButtonST.click();
    entry().RGsekse.select(0);
    Type(entry().Egebdag, "31");
    Type(entry().Egebmnd, "02");
    Type(entry().Egebjaar, "2010");
    entry().ButtonST.click();
    EXPECT_EQ(ConfirmTexts(),
              (std::vector<std::string>{
                  "Type eerst een proefpersoonnaam...",
                  "Geef het geslacht van de proefpersoon in s.v.p.!",
                  "Ongeldige ingave! Vul een correcte geboortedatum [dd-mm-jjjj] in s.v.p.!"}));
    // Check messages carry the toolkit's title and their only button.
    for (const auto& box : dialogs.confirmations) EXPECT_EQ(box.options, ui::ConfirmOptions{});
    EXPECT_EQ(entry().ActiveControl, &entry().Egebdag);
    EXPECT_FALSE(entry().Afname.SubjectValid);
    EXPECT_TRUE(entry().Afname.MdataFW.empty());

    Type(entry().Egebdag, std::string(1, '\b') + "\b" + "28");
    entry().ButtonST.click();  // starts
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);
    entry().ButtonST.click();  // the same code again on this screen
    EXPECT_EQ(ConfirmTexts().back(), "Proefpersoon bestaat al, type een andere code in s.v.p.!");
}

TEST_F(SubjectEntryTest, SameDayNoGivesTheNextSequenceNumber) {
    std::ofstream(data / "Incomplete afnames" / "A_05-03-2011.zta", std::ios::binary)
        << "A_05-03-2011\r\n0\r\n";
    std::ofstream(data / "Incomplete afnames" / "A #2_05-03-2011.zta", std::ios::binary)
        << "A #2_05-03-2011\r\n2\r\n";
    OpenForNewAdministration();
    EnterSubject("A");
    dialogs.confirmAnswers = {ui::ModalResult::No, ui::ModalResult::No};
    entry().ButtonST.click();
    ASSERT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_EQ(dialogs.confirmations[0].text,
              "Er bestaat al een testafname van vandaag voor deze proefpersoon. Wilt u deze afname "
              "overschrijven? (`Nee` maakt een nieuwe afname aan met toevoeging van `#[volgnr]`.)");
    // Titled, with "Nee" as the default, so Enter does not overwrite.
    for (const auto& box : dialogs.confirmations) {
        EXPECT_EQ(box.buttons, ui::ConfirmButtons::YesNo);
        EXPECT_EQ(box.options.title, "Bestaande testafname gevonden...");
        EXPECT_EQ(box.options.defaultButton, ui::ModalResult::No);
        EXPECT_EQ(box.options.fontFamily, "Arial");
        EXPECT_EQ(box.options.messagePointSize, 8);
    }
    EXPECT_EQ(entry().Ecode.text(), "A #3");
    EXPECT_EQ(entry().Afname.AfnameKey, "A #3_05-03-2011");
    EXPECT_EQ(entry().Afname.MemoCom, (std::vector<std::string>{"A #3_05-03-2011", "3"}));
    EXPECT_EQ(entry().Afname.MdataFW[0].substr(0, 8), "A #3;FW;");
}

TEST_F(SubjectEntryTest, SameDayNoKeepsTheSuffixOfAFullLengthCode) {
    // The 30-character limit is for typing: the sequence suffix goes beyond it.
    const std::string code(30, 'K');
    std::ofstream(data / "Incomplete afnames" / (code + "_05-03-2011.zta"), std::ios::binary)
        << code << "_05-03-2011\r\n0\r\n";
    OpenForNewAdministration();
    EnterSubject(code);
    dialogs.confirmAnswers = {ui::ModalResult::No, ui::ModalResult::Cancel};
    entry().ButtonST.click();
    EXPECT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_EQ(entry().Afname.Ecode, code + " #2");
    EXPECT_EQ(entry().Ecode.text(), code + " #2");
    EXPECT_EQ(entry().Afname.AfnameKey, code + " #2_05-03-2011");
    ASSERT_EQ(entry().Afname.MdataFW.size(), 1u);
    EXPECT_TRUE(entry().Afname.MdataFW[0].starts_with(code + " #2;FW;"));
}

TEST_F(SubjectEntryTest, CodeCannotChangeOnceStartedSoResultsReachTheirLines) {
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().ButtonST.click();
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);  // interrupted
    Type(entry().Ecode, "\b2");
    entry().Ecode.type("Jan02");  // pasted
    EXPECT_EQ(entry().Ecode.text(), "Jan01");
    EXPECT_EQ(entry().Afname.Ecode, "Jan01");
    testing::GiveResults(entry().Afname, Subtest::FW, 15, 50);
    entry().Afname.AfnameStatus = 4;
    entry().Filesave.click();
    const std::string fw = Read(data / "Data" / "Jan01_05-03-2011_FW.wda");
    EXPECT_EQ(std::count(fw.begin(), fw.end(), ';'), 44);

    // A new administration takes a code again.
    clock.advance(1000);
    entry().ResetAfname();
    Type(entry().Ecode, "K");
    EXPECT_EQ(entry().Ecode.text(), "K");
}

TEST_F(SubjectEntryTest, SameDayCheckAlsoGuardsAFinishedAdministration) {
    // Reported complete, so only its data files are left: they are not overwritten unasked.
    for (const char* name :
         {"A_05-03-2011_FW.wda", "A_05-03-2011_FV.vda", "A #2_05-03-2011_FW.wda"})
        std::ofstream(data / "Data" / name, std::ios::binary) << "finished\r\n";
    OpenForNewAdministration();
    EnterSubject("A");
    dialogs.confirmAnswers = {ui::ModalResult::No, ui::ModalResult::No};
    entry().ButtonST.click();
    ASSERT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_EQ(dialogs.confirmations[0].options.title, "Bestaande testafname gevonden...");
    EXPECT_EQ(entry().Afname.Ecode, "A #3");
    EXPECT_EQ(entry().Afname.MemoCom, (std::vector<std::string>{"A #3_05-03-2011", "3"}));
}

TEST_F(SubjectEntryTest, SameDayYesOverwritesAndClosingTheBoxAbandons) {
    std::ofstream(data / "Incomplete afnames" / "A_05-03-2011.zta", std::ios::binary)
        << "A_05-03-2011\r\n0\r\n";
    OpenForNewAdministration();
    EnterSubject("A");
    dialogs.confirmAnswers = {ui::ModalResult::Cancel};
    entry().ButtonST.click();
    EXPECT_TRUE(entry().Afname.MdataFW.empty());
    EXPECT_EQ(entry().PendingAction, 0);
    dialogs.confirmAnswers = {ui::ModalResult::Yes};
    entry().ButtonST.click();
    EXPECT_EQ(entry().Afname.AfnameKey, "A_05-03-2011");
    EXPECT_EQ(entry().Afname.MdataFW.size(), 1u);
}

TEST_F(SubjectEntryTest, SaveWritesTheFilesAndShowsTheNotice) {
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().ButtonST.click();
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);
    testing::GiveResults(entry().Afname, Subtest::FW, 15, 50);
    entry().Afname.AfnameStatus = 4;
    entry().Filesave.click();
    const std::string fw = Read(data / "Data" / "Jan01_05-03-2011_FW.wda");
    EXPECT_EQ(std::count(fw.begin(), fw.end(), ';'), 44);
    EXPECT_EQ(Read(data / "Incomplete afnames" / "Jan01_05-03-2011.zta"),
              "Jan01_05-03-2011\r\n0\r\n");
    EXPECT_EQ(app.activeScreen(), startup->screens().message.get());
    clock.advance(1000);
    EXPECT_TRUE(sounds.plays().back().nativePath.ends_with("/Audio/Save.wav"));
    EXPECT_EQ(app.activeScreen(), &entry());
}

TEST_F(SubjectEntryTest, SaveBeforeStartWritesNothing) {
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().Filesave.click();
    EXPECT_TRUE(fs::is_empty(data / "Data"));
    EXPECT_EQ(app.activeScreen(), &entry());
}

TEST_F(SubjectEntryTest, BackupProcedureWhenTheDataFolderIsMissing) {
    writeSettings("");  // no data folder set
    startup->screens().main->ZORMainInitialize();
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().ButtonST.click();
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);

    const fs::path usb = root / "usb";
    fs::create_directories(usb);
    dialogs.confirmAnswers = {ui::ModalResult::OK, ui::ModalResult::OK};
    dialogs.saveAnswers = {(usb / "Jan01_05-03-2011.zta").string()};
    entry().Filesave.click();
    EXPECT_EQ(ConfirmTexts(),
              (std::vector<std::string>{
                  "Data niet opgeslagen!!! Backup-procedure wordt opgestart.",
                  "Data opgeslagen op backuplocatie. Het ZOR-afnameprogramma heeft t.b.v. van "
                  "schrijfbewerkingen geen toegang tot de (tijdens het installatieproces "
                  "opgegeven) locatie voor de opslag van uw data en testrapporten."}));
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "Jan01_05-03-2011.zta");
    EXPECT_EQ(dialogs.saveRequests[0].filter, "ZOR-bestand|*.zta|ZOR-bestand|*.zta");
    EXPECT_EQ(dialogs.saveRequests[0].title, "Klomperix Test - Kies een alternatieve locatie...");
    EXPECT_TRUE(dialogs.saveRequests[0].overwritePrompt);
    EXPECT_TRUE(fs::exists(usb / "Jan01_05-03-2011_FW.wda"));
    EXPECT_TRUE(fs::exists(usb / "Jan01_05-03-2011_FV.vda"));
    EXPECT_EQ(app.activeScreen(), startup->screens().message.get());
    clock.advance(1000);

    // Cancelled: nothing saved, no notice.
    dialogs.confirmAnswers = {ui::ModalResult::OK};
    dialogs.saveAnswers = {std::nullopt};
    entry().Filesave.click();
    EXPECT_EQ(app.activeScreen(), &entry());
    // A backup place that cannot be written is not reported as a success.
    dialogs.confirmAnswers = {ui::ModalResult::OK, ui::ModalResult::OK};
    dialogs.saveAnswers = {(root / "gone" / "x.zta").string()};
    entry().Filesave.click();
    EXPECT_TRUE(ConfirmTexts().back().starts_with("Data niet opgeslagen op de backuplocatie! "));
    EXPECT_EQ(app.activeScreen(), &entry());
}

TEST_F(SubjectEntryTest, ResumeLoadsContinuesAndOpensTheSecondSubtest) {
    AdministrationRecord saved = testing::Finished();
    saved.AfnameStatus = 4;
    saved.CurrentStepFV = 1;
    saved.ELaatsteFV.clear();
    saved.ReplaceDataLines(1);
    ASSERT_FALSE(WriteAdministrationFiles(saved, data));
    const fs::path zta = data / "Incomplete afnames" / "Jan01_05-03-2011.zta";

    dialogs.openAnswers = {zta.string()};
    startup->screens().main->ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(entry().Ecode.text(), "Jan01");
    EXPECT_EQ(entry().RGsekse.itemIndex, 0);
    EXPECT_EQ(entry().Egebjaar.text(), "2002");
    EXPECT_FALSE(entry().ButtonST.visible);
    EXPECT_TRUE(entry().ButtonContin.visible);
    EXPECT_TRUE(entry().ButtonContin.enabled);
    EXPECT_EQ(entry().ButtonContin.pictureName(), "BtnTHred.gif");
    EXPECT_FALSE(fs::exists(zta));

    entry().ButtonContin.click();
    EXPECT_EQ(entry().ButtonContin.pictureName(), "BtnTHon.gif");
    clock.advance(500);
    EXPECT_EQ(calls().back(), "intro FV second");
    EXPECT_EQ(entry().Afname.AfnameStatus, 6);
    EXPECT_TRUE(entry().Afname.SubjectValid);
}

TEST_F(SubjectEntryTest, ResumeKeepsAFullLengthCodeWithItsSuffix) {
    // A 30-character code with " #2": the record must keep it whole, or the
    // continued results would not find their data line at the next save.
    const std::string code = std::string(30, 'K') + " #2";
    const std::string key = code + "_05-03-2011";
    const fs::path zta = data / "Incomplete afnames" / (key + ".zta");
    std::ofstream(zta, std::ios::binary) << key << "\r\n2\r\n";
    std::ofstream(data / "Data" / (key + "_FW.wda"), std::ios::binary)
        << code << ";FW;meisje;10;06;2002;05;03;2011;;;;vb1;2;30;1\r\n";
    std::ofstream(data / "Data" / (key + "_FV.vda"), std::ios::binary)
        << code << ";FV;meisje;10;06;2002;05;03;2011;;;;;2\r\n";
    dialogs.openAnswers = {zta.string()};
    startup->screens().main->ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(entry().Afname.Ecode, code);
    EXPECT_EQ(entry().Ecode.text(), code);

    entry().ButtonContin.click();
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);
    entry().Afname.SGRscoreFW.SetCell(1, 1, "42");
    entry().Afname.SGRscoreFW.SetCell(2, 1, "0");
    entry().Afname.CurrentStepFW = 3;
    entry().Filesave.click();
    EXPECT_TRUE(Read(data / "Data" / (key + "_FW.wda")).ends_with(";2;30;1;42;0\r\n"));
}

TEST_F(SubjectEntryTest, ResumeOfARefusedLineKeepsTheFileAndOpensNothing) {
    const fs::path zta = data / "Incomplete afnames" / "K_05-03-2011.zta";
    std::ofstream(zta, std::ios::binary) << "K_05-03-2011\r\n0\r\n";
    std::ofstream(data / "Data" / "K_05-03-2011_FW.wda", std::ios::binary)
        << "K;fw;;01;01;2003;05;03;2011;;;;;2\r\n";
    std::ofstream(data / "Data" / "K_05-03-2011_FV.vda", std::ios::binary)
        << "K;FV;;01;01;2003;05;03;2011;;;;;2\r\n";
    dialogs.openAnswers = {zta.string()};
    dialogs.confirmAnswers = {ui::ModalResult::OK};
    startup->screens().main->ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(ConfirmTexts().size(), 1u);
    EXPECT_EQ(ConfirmTexts()[0], "Data foutief of niet van de Foneemweglatingtest!\n\n" +
                                     (data / "Data" / "K_05-03-2011_FW.wda").string() +
                                     ":1: veld 2 (subtest) is \"fw\" in plaats van \"FW\"");
    EXPECT_TRUE(fs::exists(zta));
    entry().ButtonContin.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &entry());
}

TEST_F(SubjectEntryTest, HomeButtonSavesAndReturnsToTheMainMenu) {
    OpenForNewAdministration();
    EnterSubject("Jan01");
    entry().ButtonST.click();
    clock.advance(500);
    laterScreens().FWin->setModalResult(ui::ModalResult::Cancel);
    entry().ButtonNP.enabled = true;  // as an interrupted test screen leaves it
    entry().ButtonNP.click();
    EXPECT_EQ(entry().ButtonNP.pictureName(), "BtnHMon.gif");
    clock.advance(500);
    EXPECT_TRUE(fs::exists(data / "Data" / "Jan01_05-03-2011_FV.vda"));
    clock.advance(1000);  // the save notice closes
    EXPECT_EQ(app.activeScreen(), startup->screens().main.get());
    EXPECT_EQ(entry().ButtonNP.pictureName(), "BtnHMoff.gif");
}

}  // namespace
}  // namespace zor::record
