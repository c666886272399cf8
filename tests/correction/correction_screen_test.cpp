// Opening the correction screen by the report's key, confirming a correction
// and the corrected data files it writes.
#include <gtest/gtest.h>

#include "correction_fixture.h"
#include "norms/age_band.h"
#include "norms/raw_scores.h"
#include "norms/standard_scores.h"
#include "record/answer_recordings.h"
#include "record/data_line.h"

#include <cmath>

namespace zor::correction::testing {
namespace {

const std::string kKey = "K123_05-03-2011";
const std::string kFWName = "K123_05-03-2011_FW.wda";
const std::string kFVName = "K123_05-03-2011_FV.vda";
const std::string kCorrectedFW = "K123_05-03-2011_gecorrigeerd_FW.wda";
const std::string kCorrectedFV = "K123_05-03-2011_gecorrigeerd_FV.vda";
const std::string kQuestion =
    "Hiermee worden de gegevens van deze testafname gewijzigd. Het nieuwe testrapport en de "
    "bijbehorende datafiles worden als nieuw bestand opgeslagen onder dezelfde danwel "
    "aangepaste naam met toevoeging van het label \"_gecorrigeerd\". Doorgaan?";

int RightAnswers(const std::vector<std::string>& fields, int firstItemPair, int pairs) {
    int right = 0;
    for (int r = firstItemPair; r < firstItemPair + pairs; ++r) {
        right += fields.at(record::field::kFirstPair + 2 * r + 1) == "1";
    }
    return right;
}

using CorrectionLoadTest = CorrectionFixture;
using CorrectionConfirmTest = CorrectionFixture;

TEST_F(CorrectionLoadTest, ReportKeyLoadsBothDataFilesAndShowsTheirLastLines) {
    AddSample(kKey);
    // An earlier line before the administration's own: the last line counts.
    WriteBytes(dataFolder / kFWName,
               "OUD;FW;jongen;01;01;2003;01;01;2010;X;1;Y;;2\r\n" + File(kFWName));
    WriteBytes(dataFolder / kFVName,
               "OUD;FV;jongen;01;01;2003;01;01;2010;X;1;Y;;2\r\n" + File(kFVName));
    Open(kKey);

    ASSERT_TRUE(IsOpen());
    EXPECT_TRUE(ui.dialogs.messages.empty());
    EXPECT_EQ(correct.caption, "Testgegevens Wijzigen");
    EXPECT_EQ(correct.Ecode.text(), "K123");
    EXPECT_EQ(correct.RGsekse.itemIndex, 0);
    EXPECT_EQ(correct.Egebdag.text() + "-" + correct.Egebmnd.text() + "-" + correct.Egebjaar.text(),
              "14-02-2004");
    // The administration date is the stored one, not today's (1 June 2013).
    EXPECT_EQ(correct.Eafndag.text() + "-" + correct.Eafnmnd.text() + "-" + correct.Eafnjaar.text(),
              "05-03-2011");
    EXPECT_TRUE(correct.Eafndag.readOnly);
    EXPECT_EQ(correct.Eschool.text(), "De Klimop");
    EXPECT_EQ(correct.Egroep.text(), "4");
    EXPECT_EQ(correct.Etl.text(), "J. Jansen");
    EXPECT_EQ(correct.ActiveControl, &correct.Ecode);

    const record::AdministrationRecord& afname = correct.CorrectedRecord();
    EXPECT_EQ(afname.MemoCom.at(0), kKey);
    EXPECT_EQ(afname.AfnameStatus, 7);
    EXPECT_EQ(afname.CurrentStepFW, 16);
    EXPECT_EQ(afname.CurrentStepFV, 13);
    EXPECT_EQ(afname.SGdataFW.Cell(1, 0).substr(0, 7), "OUD;FW;");
    EXPECT_EQ(afname.SGdataFW.Cell(1, 1).substr(0, 8), "K123;FW;");
    EXPECT_FALSE(correct.CorrectionConfirmed);

    // Deletion items 2, 6 and 12 were wrong, swap items 4 and 9.
    for (int item = 1; item <= 12; ++item) {
        const bool fwWrong = item == 2 || item == 6 || item == 12;
        const bool fvWrong = item == 4 || item == 9;
        EXPECT_TRUE(correct.FWitemAcc(item).enabled);
        EXPECT_EQ(correct.FWitemAcc(item).text(), fwWrong ? "F" : "G") << "FW item " << item;
        EXPECT_EQ(correct.FWitemAcc(item).color, fwWrong ? 0xFF0000u : 0x008000u);
        EXPECT_EQ(correct.FVitemAcc(item).text(), fvWrong ? "F" : "G") << "FV item " << item;
        EXPECT_EQ(correct.FVitemAcc(item).color, fvWrong ? 0xFF0000u : 0x008000u);
    }
    EXPECT_EQ(correct.CORRbtn.pictureName(), "BtnWZNoff.gif");
    EXPECT_EQ(correct.Background.pictureName(), "Toolbar.jpg");
}

TEST_F(CorrectionLoadTest, ItemsThatWereNotGivenHaveDisabledChoosers) {
    AddSample("S7 #2_05-03-2011");
    Open("S7 #2_05-03-2011");

    ASSERT_TRUE(IsOpen());
    EXPECT_EQ(correct.Ecode.text(), "S7 #2");
    EXPECT_EQ(correct.CorrectedRecord().AfnameStatus, 3);
    for (int item = 1; item <= 12; ++item) {
        EXPECT_FALSE(correct.FWitemAcc(item).enabled) << item;
        EXPECT_EQ(correct.FWitemAcc(item).itemIndex, -1);
        EXPECT_TRUE(correct.FVitemAcc(item).enabled) << item;
    }

    correct.FVitemAcc(1).select(0);
    const record::AdministrationRecord& afname = correct.CorrectedRecord();
    EXPECT_EQ(afname.SGRscoreFV.Cell(2, 0), "0");
    for (int row = 0; row < 15; ++row) EXPECT_EQ(afname.SGRscoreFW.Cell(2, row), "") << row;
    // The deletion right-answer count stays not available.
    EXPECT_GT(afname.Totals().correctFW, 12);
    EXPECT_EQ(afname.Totals().correctFV, 8);
}

TEST_F(CorrectionLoadTest, AMissingDataFileKeepsTheScreenClosed) {
    AddSample(kKey);
    fs::remove(dataFolder / kFVName);
    Open(kKey);

    EXPECT_FALSE(IsOpen());
    EXPECT_FALSE(correct.visible());
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_NE(ui.dialogs.messages[0].text.find(kFVName), std::string::npos);
    EXPECT_EQ(viewer.closed, 1);  // the viewer's button back at rest

    // Once the file is back the screen opens normally.
    fs::copy_file(Sample(kFVName), dataFolder / kFVName);
    Open(kKey);
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(correct.Ecode.text(), "K123");
}

TEST_F(CorrectionLoadTest, AKeyThatLeadsOutOfTheDataFolderIsRefused) {
    AddSample(kKey);
    fs::create_directories(root / "elders");
    fs::copy_file(Sample(kFWName), root / "elders" / "x_FW.wda");
    fs::copy_file(Sample(kFVName), root / "elders" / "x_FV.vda");
    Open("../../elders/x");

    EXPECT_FALSE(IsOpen());
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_NE(ui.dialogs.messages[0].text.find("geen geldige afnamenaam"), std::string::npos);
}

TEST_F(CorrectionLoadTest, ADamagedLineGivesItsSubtestsMessageAndAnEmptyScreen) {
    struct Case {
        std::string fw;
        std::string fv;
        std::string message;
    };
    const std::string fw = ReadBytes(Sample(kFWName));
    const std::string fv = ReadBytes(Sample(kFVName));
    std::string lowerFW = fw;
    lowerFW.replace(5, 2, "fw");
    std::string badMark = fv;
    badMark.replace(badMark.find(";41;1;"), 6, ";41;2;");
    const Case cases[] = {
        {lowerFW, fv, "Data foutief of niet van de Foneemweglatingtest!"},
        {fw, badMark, "Data foutief of niet van de Foneemverwisselingtest!"},
        {fw, fw, "Data foutief of niet van de Foneemverwisselingtest!"},
        {"", fv, "Data foutief of niet van de Foneemweglatingtest!"},
        {fw, "\r\n", "Data foutief of niet van de Foneemverwisselingtest!"},
    };
    for (const Case& c : cases) {
        WriteBytes(dataFolder / kFWName, c.fw);
        WriteBytes(dataFolder / kFVName, c.fv);
        ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
        ui.dialogs.confirmations.clear();
        Open(kKey);

        ASSERT_TRUE(IsOpen());
        ASSERT_EQ(ui.dialogs.confirmations.size(), 1u) << c.message;
        // The subtest's message, then the file and what is wrong in it.
        EXPECT_TRUE(ui.dialogs.confirmations[0].text.starts_with(c.message + "\n\n" +
                                                                 dataFolder.string()))
            << ui.dialogs.confirmations[0].text;
        EXPECT_EQ(ui.dialogs.confirmations[0].buttons, ui::ConfirmButtons::OK);
        EXPECT_EQ(correct.Ecode.text(), "");
        EXPECT_EQ(correct.Eafndag.text(), "");  // never today's date
        EXPECT_EQ(correct.RGsekse.itemIndex, -1);
        EXPECT_EQ(correct.CorrectedRecord().SGdataFW.Cell(1, 0), "");
        EXPECT_EQ(correct.CorrectedRecord().SGdataFV.Cell(1, 0), "");
        for (int item = 1; item <= 12; ++item) {
            EXPECT_FALSE(correct.FWitemAcc(item).enabled);
            EXPECT_FALSE(correct.FVitemAcc(item).enabled);
        }
        correct.ButtonExit.click();
        EXPECT_FALSE(IsOpen());
    }
}

TEST_F(CorrectionLoadTest, NothingCanBeConfirmedAfterARefusedLine) {
    AddSample(kKey);
    WriteBytes(dataFolder / kFVName, "rommel\r\n");
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    Open(kKey);
    for (char32_t c : std::u32string_view(U"K123")) correct.Ecode.keyPress(c);
    correct.RGsekse.select(1);
    for (char32_t c : std::u32string_view(U"01")) correct.Egebdag.keyPress(c);
    for (char32_t c : std::u32string_view(U"01")) correct.Egebmnd.keyPress(c);
    for (char32_t c : std::u32string_view(U"2004")) correct.Egebjaar.keyPress(c);
    correct.CORRbtn.click();

    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_NE(ui.dialogs.messages[0].text.find("geen testafname geladen"), std::string::npos);
    EXPECT_EQ(viewer.composed, 0);
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()), 2);
}

TEST_F(CorrectionConfirmTest, ASwapMarkChangedToWrongLowersTheCorrectedCountAndLeavesTheOriginals) {
    AddSample(kKey);
    const std::string originalFW = File(kFWName);
    const std::string originalFV = File(kFVName);
    Open(kKey);
    correct.FVitemAcc(3).select(0);  // "G" -> "F"
    EXPECT_EQ(correct.FVitemAcc(3).color, 0xFF0000u);
    EXPECT_EQ(correct.CorrectedRecord().SGRscoreFV.Cell(2, 2), "0");
    EXPECT_EQ(correct.ActiveControl, &correct.Ecode);

    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();

    ASSERT_EQ(ui.dialogs.confirmations.size(), 1u);
    EXPECT_EQ(ui.dialogs.confirmations[0].text, kQuestion);
    EXPECT_EQ(ui.dialogs.confirmations[0].buttons, ui::ConfirmButtons::OKCancel);
    EXPECT_TRUE(ui.dialogs.messages.empty());
    EXPECT_EQ(viewer.composed, 1);
    EXPECT_TRUE(viewer.confirmedWhenComposing);
    EXPECT_FALSE(viewer.saveResult.has_value());
    EXPECT_FALSE(correct.CorrectionConfirmed);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(result, ui::ModalResult::OK);
    EXPECT_EQ(viewer.closed, 1);
    EXPECT_EQ(correct.CORRbtn.pictureName(), "BtnWZNoff.gif");

    EXPECT_EQ(File(kFWName), originalFW);
    EXPECT_EQ(File(kFVName), originalFV);
    const std::string correctedFV = File(kCorrectedFV);
    const std::string correctedFW = File(kCorrectedFW);
    // One line each, CR LF.
    EXPECT_EQ(correctedFV.find("\r\n"), correctedFV.size() - 2);
    EXPECT_EQ(correctedFW.find("\r\n"), correctedFW.size() - 2);

    const auto before = FirstLineFields(originalFV);
    const auto after = FirstLineFields(correctedFV);
    ASSERT_EQ(after.size(), 39u);
    EXPECT_EQ(RightAnswers(after, 0, 12), RightAnswers(before, 0, 12) - 1);
    EXPECT_EQ(after[record::field::kFirstPair + 2 * 2 + 1], "0");
    for (int f = 0; f < 38; ++f) {
        if (f == record::field::kFirstPair + 5) continue;
        EXPECT_EQ(after[f], before[f]) << "field " << f;
    }
    // The deletion line is the same administration: only its score is recomputed.
    const auto fwBefore = FirstLineFields(originalFW);
    const auto fwAfter = FirstLineFields(correctedFW);
    ASSERT_EQ(fwAfter.size(), 45u);
    for (int f = 0; f < 44; ++f) EXPECT_EQ(fwAfter[f], fwBefore[f]) << "field " << f;
}

TEST_F(CorrectionConfirmTest, TheAgeCountsUpToTheAdministrationDate) {
    AddSample(kKey);
    Open(kKey);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();

    // Born 14-02-2004: 7;0 on 05-03-2011 (band 1), 9;3 on today's date (band 3).
    EXPECT_EQ(correct.StoredBirthDate, (record::Date{2004, 2, 14}));
    EXPECT_EQ(correct.StoredAfnameDate, (record::Date{2011, 3, 5}));
    EXPECT_EQ(viewer.ageMonthsWhenComposing, 84);
    EXPECT_EQ(correct.CorrectedRecord().Edit3, "9;3");

    const norms::RawScores raw = norms::FormRawScores(correct.CorrectedRecord().Totals());
    const std::string bandOne = record::FormatScore(norms::SpeedScoreFV(1, raw.S), ',');
    ASSERT_NE(bandOne, record::FormatScore(norms::SpeedScoreFV(3, raw.S), ','));
    EXPECT_EQ(FirstLineFields(File(kCorrectedFV)).back(), bandOne);
    EXPECT_EQ(FirstLineFields(File(kCorrectedFW)).back(),
              record::FormatScore(norms::SpeedScoreFW(1, raw.T), ','));
}

TEST_F(CorrectionConfirmTest, CancelAtTheConfirmationWritesNothing) {
    AddSample(kKey);
    Open(kKey);
    correct.FVitemAcc(3).select(0);
    ui.dialogs.confirmAnswers = {ui::ModalResult::Cancel};
    correct.CORRbtn.click();

    EXPECT_TRUE(IsOpen());
    EXPECT_FALSE(correct.CorrectionConfirmed);
    EXPECT_EQ(viewer.composed, 0);
    EXPECT_EQ(correct.CORRbtn.pictureName(), "BtnWZNoff.gif");
    EXPECT_FALSE(fs::exists(dataFolder / kCorrectedFW));
    EXPECT_FALSE(fs::exists(dataFolder / kCorrectedFV));
    // The lines are rebuilt on the screen, one each.
    EXPECT_EQ(correct.CorrectedRecord().MdataFV.size(), 1u);

    correct.ButtonExit.click();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(result, ui::ModalResult::Cancel);
    EXPECT_EQ(viewer.closed, 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()), 2);
    EXPECT_EQ(main.clicks, 2);
}

TEST_F(CorrectionConfirmTest, ANewCodeNamesTheCorrectedFiles) {
    AddSample(kKey);
    Open(kKey);
    correct.Ecode.keyPress(U'A');
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();

    EXPECT_EQ(correct.CorrectedRecord().AfnameKey, "K123A_05-03-2011");
    EXPECT_EQ(correct.CorrectedRecord().MemoCom.at(0), "K123A_05-03-2011");
    EXPECT_TRUE(fs::exists(dataFolder / "K123A_05-03-2011_gecorrigeerd_FW.wda"));
    EXPECT_EQ(FirstLineFields(File("K123A_05-03-2011_gecorrigeerd_FV.vda"))[0], "K123A");
    EXPECT_FALSE(fs::exists(dataFolder / kCorrectedFV));
}

TEST_F(CorrectionConfirmTest, ALoadedCodeWithASequenceSuffixKeepsAllItsCharacters) {
    const std::string code = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123 #2";  // 30 typed, then the suffix
    const std::string key = code + "_05-03-2011";
    for (const std::string& name : {kFWName, kFVName}) {
        std::string line = ReadBytes(Sample(name));
        line.replace(0, 4, code);
        WriteBytes(dataFolder / (key + name.substr(kKey.size())), line);
    }
    Open(key);
    EXPECT_EQ(correct.Ecode.text(), code);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();
    EXPECT_TRUE(ui.dialogs.messages.empty());
    EXPECT_EQ(FirstLineFields(File(key + "_gecorrigeerd_FV.vda"))[0], code);
    EXPECT_TRUE(fs::exists(dataFolder / (key + "_gecorrigeerd_FW.wda")));
}

TEST_F(CorrectionConfirmTest, ASecondCorrectionReplacesTheFirstAndReopeningStartsAfresh) {
    AddSample(kKey);
    Open(kKey);
    correct.FVitemAcc(3).select(0);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();
    ASSERT_EQ(RightAnswers(FirstLineFields(File(kCorrectedFV)), 0, 12), 9);

    // Reopened from the same report: the original marks again.
    Open(kKey);
    EXPECT_EQ(correct.FVitemAcc(3).text(), "G");
    correct.FVitemAcc(1).select(0);
    correct.FVitemAcc(2).select(0);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();
    EXPECT_EQ(RightAnswers(FirstLineFields(File(kCorrectedFV)), 0, 12), 8);
    EXPECT_EQ(File(kCorrectedFV).find("\r\n"), File(kCorrectedFV).size() - 2);
}

TEST_F(CorrectionConfirmTest, ACorrectedReportCanBeCorrectedAgain) {
    AddSample(kKey);
    Open(kKey);
    correct.FVitemAcc(3).select(0);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();

    Open("K123_05-03-2011_gecorrigeerd");
    ASSERT_TRUE(IsOpen());
    EXPECT_EQ(correct.FVitemAcc(3).text(), "F");
    correct.FVitemAcc(4).select(1);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();
    EXPECT_EQ(RightAnswers(FirstLineFields(File(kCorrectedFV)), 0, 12), 10);
    EXPECT_EQ(File(kFVName), ReadBytes(Sample(kFVName)));
}

TEST_F(CorrectionConfirmTest, AFailedWriteIsReportedAndTheSecondFileIsNotWritten) {
    AddSample(kKey);
    fs::create_directory(dataFolder / kCorrectedFW);  // a folder where the file must go
    Open(kKey);
    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();

    ASSERT_TRUE(viewer.saveResult.has_value());
    EXPECT_EQ(viewer.saveResult->file, dataFolder / kCorrectedFW);
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_EQ(ui.dialogs.messages[0].text.rfind("De gecorrigeerde data zijn niet opgeslagen. ", 0),
              0u);
    EXPECT_NE(ui.dialogs.messages[0].text.find(kCorrectedFW), std::string::npos);
    EXPECT_FALSE(fs::exists(dataFolder / kCorrectedFV));
    EXPECT_FALSE(correct.CorrectionConfirmed);
}

TEST_F(CorrectionConfirmTest, WritingWithoutACheckedSubjectWritesNothing) {
    AddSample(kKey);
    Open(kKey);
    // The viewer saves only after a confirmation; before one there is no key.
    EXPECT_TRUE(correct.Opslaan1Click().has_value());
    EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace zor::correction::testing

namespace zor::correction::testing {
namespace {

// An answer recording: a prompt tone, the mark 0.2 s after it, room noise, a
// voiced sound (150 Hz with its harmonics) `onsetSeconds` after the mark or
// none, the stopwatch's stop and its sound (a 1 kHz tone), and the second
// after the stop.
ui::RecordedAnswer SpokenAnswer(std::optional<double> onsetSeconds) {
    constexpr int kRate = ui::RecordedAnswer::kSampleRate;
    ui::RecordedAnswer answer;
    std::uint32_t noise = 1;
    const double mark = 0.5;
    const double stop = mark + (onsetSeconds ? *onsetSeconds + 0.7 : 1.5);
    for (int i = 0; i < kRate * (stop + 1); ++i) {
        const double t = double(i) / kRate;
        noise = noise * 1664525u + 1013904223u;
        double v = double(int(noise >> 24) - 128) / 4;  // about -44 dBFS
        if (t < 0.3) v += 6000 * std::sin(2 * M_PI * 700 * t);
        if (onsetSeconds && t >= mark + *onsetSeconds && t < mark + *onsetSeconds + 0.5)
            for (int h = 1; h <= 12; ++h) v += 2500.0 / h * std::sin(2 * M_PI * 150 * h * t);
        if (t >= stop + 0.05 && t < stop + 0.35) v += 6000 * std::sin(2 * M_PI * 1000 * t);
        answer.samples.push_back(std::int16_t(v));
    }
    answer.promptEndSample = std::int64_t(mark * kRate);
    return answer;
}

TEST_F(CorrectionLoadTest, CorrectedReportOffersTheOriginalsRecordingsWithVoiceOnsetsBesideTheTimes) {
    // The report of a correction: its data files carry the label, its
    // recordings are the original administration's.
    for (const char* suffix : {"_FW.wda", "_FV.vda"})
        fs::copy_file(Sample(kKey + suffix), dataFolder / (kKey + "_gecorrigeerd" + suffix));
    const fs::path recordings = root / "data" / "Opnames" / kKey;
    record::WriteAnswerRecording(recordings / "FV_03.wav", SpokenAnswer(1.3));
    record::WriteAnswerRecording(recordings / "FW_12.wav", SpokenAnswer(0.42));
    record::WriteAnswerRecording(recordings / "FV_05.wav", SpokenAnswer(std::nullopt));
    Open(kKey + "_gecorrigeerd");
    ASSERT_TRUE(IsOpen());

    EXPECT_TRUE(correct.PlayButton(record::Subtest::FV, 3).visible);
    EXPECT_TRUE(correct.PlayButton(record::Subtest::FW, 12).visible);
    EXPECT_FALSE(correct.PlayButton(record::Subtest::FV, 4).visible);
    EXPECT_FALSE(correct.PlayButton(record::Subtest::FW, 3).visible);
    EXPECT_EQ(correct.OnsetLabel(record::Subtest::FV, 3).caption, "stem na 1,3 s");
    EXPECT_EQ(correct.OnsetLabel(record::Subtest::FW, 12).caption, "stem na 0,4 s");
    EXPECT_EQ(correct.OnsetLabel(record::Subtest::FV, 4).caption, "");
    // No answer while the stopwatch ran: the stop's own sound is none.
    EXPECT_EQ(correct.OnsetLabel(record::Subtest::FV, 5).caption, "geen stem gevonden");
    // The stored time stands in the item's label.
    EXPECT_NE(correct.ItemLabel(record::Subtest::FV, 3).caption.find(" s)"), std::string::npos);

    correct.PlayButton(record::Subtest::FV, 3).click();
    ASSERT_FALSE(ui.sounds.plays().empty());
    EXPECT_EQ(fs::path(ui.sounds.plays().back().nativePath), recordings / "FV_03.wav");
    EXPECT_TRUE(ui.dialogs.messages.empty());
}

}  // namespace
}  // namespace zor::correction::testing
