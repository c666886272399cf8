#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>

#include "../report/report_page_fixture.h"
#include "../report/report_screens_fixture.h"
#include "administration_fixture.h"
#include "norms/age_band.h"
#include "norms/raw_scores.h"
#include "norms/rounding.h"
#include "norms/standard_scores.h"
#include "record/data_line.h"
#include "run_command.h"
#include "zor/program_screens.h"

namespace zor::app {
namespace {

namespace fs = std::filesystem;
using administration::testing::AdministrationFixture;
using correction::MarkChooser;
using report::testing::After;
using report::testing::ReadAll;
using report::testing::TextsOf;
using Strings = std::vector<std::string>;

struct ReportServices {
    report::testing::FakePrinting printing;
    report::testing::FakeFolderOpener folders;
};

using zor::testing::CommandResult;
using zor::testing::runCommand;

std::string Quoted(const fs::path& file) { return "'" + file.string() + "'"; }

// A standard score as the report shows it: one decimal, halves away from
// zero, a decimal comma, and no decimals for a whole value.
std::string DutchScore(long double score) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1Lf", norms::RoundD(1, score));
    std::string shown = text;
    if (shown.ends_with(".0")) shown.resize(shown.size() - 2);
    std::replace(shown.begin(), shown.end(), '.', ',');
    return shown;
}

// The ";"-separated fields of a data file's one line, without its line end.
Strings LineFields(const std::string& bytes) {
    Strings fields;
    const std::string line = bytes.substr(0, bytes.find("\r\n"));
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(';', start);
        fields.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

std::string JoinedLine(const Strings& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? ";" : "") + fields[i];
    return line + "\r\n";
}

// The field of an item's right/wrong mark in a data line; FW lines carry the
// three examples first.
int MarkField(record::Subtest subtest, int item) {
    const int pair = (subtest == record::Subtest::FW ? 3 : 0) + item - 1;
    return record::field::kFirstPair + 2 * pair + 1;
}

int RightAnswers(const Strings& fields, record::Subtest subtest) {
    int right = 0;
    for (int item = 1; item <= 12; ++item) right += fields.at(MarkField(subtest, item)) == "1";
    return right;
}

// The administration of the norms' worked example, given through the screens:
// a boy of exactly 100 months (age band 2) on 05-03-2011, deletion items of
// 5.0 seconds each with items 3, 7 and 11 wrong (T = 60, CW = 9), swap items of
// 20.8 seconds but the first of 21.2 with items 2, 5, 8, 10 and 12 wrong
// (250 seconds, CV = 7).
const std::string kCode = "K123";
const std::string kKey = "K123_05-03-2011";
const std::set<int> kDeletionWrong{3, 7, 11};
const std::set<int> kSwapWrong{2, 5, 8, 10, 12};
constexpr int kAgeMonths = 100;

// The program's own screens, built by the program's builder and driven from
// the main menu on the virtual clock.
struct ProgramScreensTest : ReportServices, AdministrationFixture, ::testing::Test {
    ProgramScreensTest()
        : AdministrationFixture([this](ui::Application& app) {
              return std::make_unique<ProgramScreenBuilder>(app, printing, folders);
          }) {
        fs::create_directories(reports / "PDF");
        std::ofstream(settingsFile, std::ios::binary | std::ios::app)
            << "trpath=" << reports.string() << "\r\n";
    }

    ProgramScreenBuilder& program() { return static_cast<ProgramScreenBuilder&>(builder); }
    report::TPP& reportPreview() { return *program().PP; }
    report::TTRO& viewer() { return *program().TRO; }
    correction::Tcorrect& correction() { return *program().Correct; }

    // From the main menu through both subtests of the worked example to the
    // finish screen.
    void administerWorkedExample() {
        main().ButtonNT.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &keuze());
        keuze().ButtonFW.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &entry());
        type(entry().Ecode, kCode);
        entry().RGsekse.select(1);
        type(entry().Egebdag, "05");
        type(entry().Egebmnd, "11");
        type(entry().Egebjaar, "2002");
        type(entry().Eschool, "De Regenboog");
        type(entry().Egroep, "4");
        type(entry().Etl, "M. de Vries");
        entry().ButtonST.click();
        clock.advance(500);

        passIntroduction(fwIn());
        for (int step = 1; step <= 3; ++step) deletionStep(2000, true);  // the examples
        for (int item = 1; item <= 12; ++item) deletionStep(5000, !kDeletionWrong.contains(item));
        finishSubtest(fwTest());
        ASSERT_EQ(app.activeScreen(), &fwAft());
        fwAft().BtnYes.click();
        passIntroduction(fvIn());
        for (int item = 1; item <= 12; ++item) {
            swapItem(item == 1 ? 21200 : 20800, !kSwapWrong.contains(item));
        }
        finishSubtest(fvTest());
        ASSERT_EQ(app.activeScreen(), &finish());
    }

    // One subtest only, declined the other: the finish screen with status 3
    // (swap) or 4 (deletion).
    void administerOneSubtest(bool deletion) {
        startAdministration(deletion);
        if (deletion) {
            passIntroduction(fwIn());
            for (int step = 1; step <= 15; ++step) deletionStep(1500, step % 2 == 0);
            finishSubtest(fwTest());
            ASSERT_EQ(app.activeScreen(), &fwAft());
            fwAft().BtnNo.click();
        } else {
            passIntroduction(fvIn());
            for (int item = 1; item <= 12; ++item) swapItem(3500, item % 3 != 0);
            finishSubtest(fvTest());
            ASSERT_EQ(app.activeScreen(), &fvAft());
            fvAft().BtnNo.click();
        }
        advanceUntil([&] { return app.activeScreen() == &finish(); });
    }

    // The finish screen's report button, and the preview closed again.
    void reportAndClosePreview() {
        finish().ButtonTR.click();
        ASSERT_EQ(app.activeScreen(), &reportPreview());
        clock.advance(100);
        reportPreview().ButtonExit.click();
        // Closing saves the administration, with its notice standing for a second.
        clock.advance(1500);
        ASSERT_EQ(app.activeScreen(), &finish());
    }

    // From the finish screen home, then the main menu's stored-report choice
    // with the open dialog answered by `file`.
    void openInViewer(const fs::path& file) {
        finish().ButtonHM.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &main());
        dialogs.openAnswers.push_back(file.string());
        main().ButtonTRO.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &viewer());
    }

    // The lines of the PDF's text in the order they were drawn.
    static Strings pdfLines(const fs::path& pdf) {
        std::istringstream text(runCommand("pdftotext -raw " + Quoted(pdf) + " -").output);
        Strings lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    fs::path reports = root / "reports";
    fs::path storedReport = reports / "K123 - 05-03-2011.zrp";
    fs::path storedPdf = reports / "PDF" / "ZOR - K123_05-03-2011.pdf";
};

// What the norms give for the worked example, with `swapRight` right swap answers.
norms::StandardScores ExpectedScores(int swapRight) {
    norms::RawTotals totals;
    totals.timeFW = 60;
    totals.timeFV = 250;
    totals.correctFW = 9;
    totals.correctFV = swapRight;
    return norms::ComputeStandardScores(norms::AgeBand(kAgeMonths, true),
                                        norms::FormRawScores(totals));
}

TEST_F(ProgramScreensTest, StartUpLinksEveryRealScreen) {
    const shell::LaterScreens& later = startup->screens().later;
    ASSERT_TRUE(later.complete());
    EXPECT_EQ(later.PP, program().PP);
    EXPECT_EQ(later.TRO, program().TRO);
    EXPECT_EQ(later.Correct, program().Correct);
    EXPECT_EQ(later.ZORinvoer, &entry());
    EXPECT_EQ(&links().preview->screen(), program().PP);
}

// One administration through every screen: the report after it, the stored
// report opened in the viewer, one swap mark corrected, and the corrected
// report and data files beside the untouched originals.
TEST_F(ProgramScreensTest, AdministrationReportViewerAndCorrectionInOneChain) {
    // The norms reproduce their worked example for this administration.
    const norms::StandardScores scores = ExpectedScores(7);
    ASSERT_EQ(DutchScore(scores.speedScore), "7,1");
    ASSERT_EQ(DutchScore(scores.accuracyScore), "10,2");
    ASSERT_EQ(DutchScore(scores.indexScore), "8,5");

    administerWorkedExample();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(fs::exists(incompleteFile(kKey + ".zta")));

    // --- The report after the administration -----------------------------------
    reportAndClosePreview();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(record().AfnameStatus, 7);
    EXPECT_EQ(reportPreview().PrintPreview.Store().TotalPages(), 1);
    ASSERT_TRUE(fs::is_regular_file(storedReport));
    ASSERT_TRUE(fs::is_regular_file(storedPdf));
    EXPECT_FALSE(fs::exists(incompleteFile(kKey + ".zta")));
    EXPECT_TRUE(finish().ButtonHM.enabled);
    EXPECT_TRUE(finish().ButtonExit.visible);
    EXPECT_TRUE(dialogs.messages.empty());

    const CommandResult check = runCommand("qpdf --check " + Quoted(storedPdf));
    EXPECT_EQ(check.exitCode, 0) << check.output;
    const Strings text = pdfLines(storedPdf);
    for (const std::string line :
         {"Code / Naam : K123", "Geslacht : jongen", "Geboortedatum [dd-mm-jjjj] : 05-11-2002",
          "Leeftijd [jaar;maand] : 8;4", "Afnamedatum [dd-mm-jjjj] : 05-03-2011",
          "Testleider : M. de Vries", "Naam : De Regenboog", "Groep : 4",
          "FoneemWeglating 60 9 goed", "FoneemVerwisseling 250 7 goed"}) {
        EXPECT_THAT(text, ::testing::Contains(line));
    }
    EXPECT_THAT(text, ::testing::Contains("Standaardscore (Wechsler) " +
                                          DutchScore(scores.speedScore) + " [ 6 - 8 ] " +
                                          DutchScore(scores.accuracyScore) + " [ 8 - 12]"));
    EXPECT_THAT(text,
                ::testing::Contains("(Wechsler) " + DutchScore(scores.indexScore) + " [ 7 - 9 ]"));

    const std::string originalFW = fileText(dataFile(kKey + "_FW.wda"));
    const std::string originalFV = fileText(dataFile(kKey + "_FV.vda"));
    const std::string originalReport = ReadAll(storedReport);
    const std::string originalPdf = ReadAll(storedPdf);
    const Strings fvFields = LineFields(originalFV);
    ASSERT_EQ(RightAnswers(fvFields, record::Subtest::FV), 7);
    ASSERT_EQ(RightAnswers(LineFields(originalFW), record::Subtest::FW), 9);
    ASSERT_EQ(fvFields.at(MarkField(record::Subtest::FV, 3)), "1");

    // --- The stored report in the viewer ------------------------------------------
    openInViewer(storedReport);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "ZOR-rapport openen en afdrukken");
    EXPECT_EQ(viewer().ReportKey, kKey);
    EXPECT_EQ(viewer().PrintPreview.Store().TotalPages(), 1);
    EXPECT_TRUE(viewer().CORRbtn.visible);
    EXPECT_EQ(ReadAll(storedPdf), originalPdf);  // the report's PDF exists: never replaced

    // --- The correction: swap item 3 from "G" to "F" -------------------------------
    viewer().CORRbtn.click();
    ASSERT_EQ(app.activeScreen(), &correction());
    EXPECT_EQ(correction().Ecode.text(), kCode);
    MarkChooser& swapItem3 = correction().FVitemAcc(3);
    ASSERT_EQ(swapItem3.text(), "G");
    swapItem3.select(MarkChooser::kWrong);
    EXPECT_EQ(swapItem3.text(), "F");
    EXPECT_EQ(swapItem3.color, MarkChooser::kWrongColor);
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    correction().CORRbtn.click();
    clock.advance(500);
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_TRUE(dialogs.confirmations[0].text.ends_with("Doorgaan?"));
    EXPECT_EQ(app.modalStack(), (std::vector<ui::Screen*>{&main(), &viewer()}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(viewer().CORRbtn.visible);
    EXPECT_EQ(viewer().CORRbtn.pictureName(), "BtnWZNoff.gif");
    EXPECT_FALSE(correction().CorrectionConfirmed);

    // The corrected report: three pages, the first with one swap answer fewer
    // and the accuracy and index scores the norms give for it.
    const norms::StandardScores corrected = ExpectedScores(6);
    ASSERT_NE(DutchScore(corrected.accuracyScore), DutchScore(scores.accuracyScore));
    const fs::path correctedReport = reports / "K123 - 05-03-2011_gecorrigeerd.zrp";
    const fs::path correctedPdf = reports / "PDF" / "ZOR - K123_05-03-2011_gecorrigeerd.pdf";
    ASSERT_TRUE(fs::is_regular_file(correctedReport));
    pagestore::TPrintPreview stored;
    stored.LoadFromFile(correctedReport);
    ASSERT_EQ(stored.TotalPages(), 3);
    EXPECT_TRUE(TextsOf(*stored.GetPage(2)).empty());
    EXPECT_TRUE(TextsOf(*stored.GetPage(3)).empty());
    const auto page = TextsOf(*stored.GetPage(1));
    EXPECT_EQ(After(page, "Code / Naam", 2)[1], kCode);
    EXPECT_EQ(After(page, "Leeftijd [jaar;maand]", 2)[1], "8;4");
    EXPECT_EQ(After(page, "FoneemWeglating", 3), (Strings{"60", "9", "goed"}));
    EXPECT_EQ(After(page, "FoneemVerwisseling", 3), (Strings{"250", "6", "goed"}));
    EXPECT_EQ(After(page, "Standaardscore (Wechsler)", 3),
              (Strings{DutchScore(corrected.speedScore), "[ 6 - 8 ]",
                       DutchScore(corrected.accuracyScore)}));
    EXPECT_EQ(After(page, " (Wechsler)", 1)[0], DutchScore(corrected.indexScore));

    ASSERT_TRUE(fs::is_regular_file(correctedPdf));
    const CommandResult correctedCheck = runCommand("qpdf --check " + Quoted(correctedPdf));
    EXPECT_EQ(correctedCheck.exitCode, 0) << correctedCheck.output;
    EXPECT_EQ(runCommand("qpdf --show-npages " + Quoted(correctedPdf)).output, "1\n");
    const Strings correctedText = pdfLines(correctedPdf);
    EXPECT_THAT(correctedText, ::testing::Contains("FoneemVerwisseling 250 6 goed"));
    EXPECT_THAT(correctedText, ::testing::Contains(::testing::StartsWith(
                                   "Standaardscore (Wechsler) " + DutchScore(corrected.speedScore) +
                                   " [ 6 - 8 ] " + DutchScore(corrected.accuracyScore) + " [")));
    EXPECT_THAT(correctedText, ::testing::Contains(::testing::StartsWith(
                                   "(Wechsler) " + DutchScore(corrected.indexScore) + " [")));

    // The corrected data files: the deletion line as it was, the swap line
    // with item 3's mark turned to "0" and nothing else changed.
    EXPECT_EQ(fileText(dataFile(kKey + "_gecorrigeerd_FW.wda")), originalFW);
    Strings correctedFields = fvFields;
    correctedFields.at(MarkField(record::Subtest::FV, 3)) = "0";
    const std::string correctedFV = fileText(dataFile(kKey + "_gecorrigeerd_FV.vda"));
    EXPECT_EQ(correctedFV, JoinedLine(correctedFields));
    EXPECT_EQ(RightAnswers(LineFields(correctedFV), record::Subtest::FV), 6);

    // The administration's own files are untouched.
    EXPECT_EQ(fileText(dataFile(kKey + "_FW.wda")), originalFW);
    EXPECT_EQ(fileText(dataFile(kKey + "_FV.vda")), originalFV);
    EXPECT_EQ(ReadAll(storedReport), originalReport);
    EXPECT_EQ(ReadAll(storedPdf), originalPdf);

    viewer().ButtonExit.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &main());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProgramScreensTest, DeletionOnlyKeepsTheIncompleteAdministrationFileAfterTheReport) {
    administerOneSubtest(true);
    ASSERT_FALSE(HasFatalFailure());
    reportAndClosePreview();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(record().AfnameStatus, 4);
    EXPECT_TRUE(fs::is_regular_file(reports / "Jan01 - 05-03-2011.zrp"));
    EXPECT_TRUE(fs::is_regular_file(reports / "PDF" / "ZOR - Jan01_05-03-2011.pdf"));
    EXPECT_TRUE(fs::exists(incompleteFile("Jan01_05-03-2011.zta")));
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FW.wda"), "4");
}

TEST_F(ProgramScreensTest, SwapOnlyKeepsTheIncompleteAdministrationFileAfterTheReport) {
    administerOneSubtest(false);
    ASSERT_FALSE(HasFatalFailure());
    reportAndClosePreview();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(record().AfnameStatus, 3);
    EXPECT_TRUE(fs::is_regular_file(reports / "Jan01 - 05-03-2011.zrp"));
    EXPECT_TRUE(fs::exists(incompleteFile("Jan01_05-03-2011.zta")));
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "3");
}

// A swap-only administration reported, opened in the viewer and corrected:
// the deletion items cannot be changed, and the corrected report shows no
// deletion results rather than sums over empty cells.
TEST_F(ProgramScreensTest, CorrectedSwapOnlyAdministrationShowsNoDeletionResults) {
    administerOneSubtest(false);
    ASSERT_FALSE(HasFatalFailure());
    reportAndClosePreview();
    ASSERT_FALSE(HasFatalFailure());
    const std::string originalFW = fileText(dataFile("Jan01_05-03-2011_FW.wda"));
    openInViewer(reports / "Jan01 - 05-03-2011.zrp");
    ASSERT_FALSE(HasFatalFailure());
    viewer().CORRbtn.click();
    ASSERT_EQ(app.activeScreen(), &correction());
    for (int item = 1; item <= 12; ++item) EXPECT_FALSE(correction().FWitemAcc(item).enabled);
    ASSERT_EQ(correction().FVitemAcc(1).text(), "G");
    correction().FVitemAcc(1).select(MarkChooser::kWrong);
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    correction().CORRbtn.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &viewer());
    EXPECT_TRUE(dialogs.messages.empty());

    pagestore::TPrintPreview stored;
    stored.LoadFromFile(reports / "Jan01 - 05-03-2011_gecorrigeerd.zrp");
    ASSERT_EQ(stored.TotalPages(), 3);
    const auto page = TextsOf(*stored.GetPage(1));
    EXPECT_EQ(After(page, "FoneemWeglating", 3), (Strings{"-", "-", "FoneemVerwisseling"}));
    // Twelve answers of 3.5 seconds; items 3, 6, 9 and 12 wrong, and now item 1.
    EXPECT_EQ(After(page, "FoneemVerwisseling", 3), (Strings{"42", "7", "goed"}));
    // Without the deletion test no score applies in any band.
    EXPECT_EQ(After(page, "Standaardscore (Wechsler)", 4),
              (Strings{"n.v.t.", "[ n.v.t. ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(page, " (Wechsler)", 2), (Strings{"n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(fileText(dataFile("Jan01_05-03-2011_gecorrigeerd_FW.wda")), originalFW);
    EXPECT_EQ(RightAnswers(LineFields(fileText(dataFile("Jan01_05-03-2011_gecorrigeerd_FV.vda"))),
                           record::Subtest::FV),
              7);
}

// A report folder gone between opening a report and confirming its
// correction: one E001 message and one offer of another place, the corrected
// data files written all the same, and the viewer not asking again when the
// correction screen closes.
TEST_F(ProgramScreensTest, CorrectionWithoutAReportFolderAsksOnceAndKeepsTheCorrection) {
    administerWorkedExample();
    ASSERT_FALSE(HasFatalFailure());
    reportAndClosePreview();
    ASSERT_FALSE(HasFatalFailure());
    const fs::path elsewhere = root / "elders" / storedReport.filename();
    fs::create_directories(elsewhere.parent_path());
    fs::rename(storedReport, elsewhere);
    fs::remove_all(reports);

    openInViewer(elsewhere);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(dialogs.messages.empty());  // no PDF folder: no PDF, no message
    viewer().CORRbtn.click();
    ASSERT_EQ(app.activeScreen(), &correction());
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    dialogs.saveAnswers.push_back(std::nullopt);
    correction().CORRbtn.click();
    clock.advance(500);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, report::kE001Message);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "K123 - 05-03-2011_gecorrigeerd.zrp");
    EXPECT_EQ(app.activeScreen(), &viewer());
    EXPECT_FALSE(correction().CorrectionConfirmed);
    EXPECT_TRUE(fs::is_regular_file(dataFile(kKey + "_gecorrigeerd_FW.wda")));
    EXPECT_TRUE(fs::is_regular_file(dataFile(kKey + "_gecorrigeerd_FV.vda")));
    // The correction screen's closing activated the viewer again without a second store.
    clock.advance(2000);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
}

}  // namespace
}  // namespace zor::app
