#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <cstdlib>
#include <thread>

#include "../report/report_screens_fixture.h"
#include "administration_fixture.h"
#include "record/answer_recordings.h"
#include "record/recovery_journal.h"
#include "zor/program_screens.h"

namespace zor::administration::testing {
namespace {

namespace fs = std::filesystem;
using record::Subtest;

constexpr int kOpenDelayMs = 20;
constexpr int kRate = ui::RecordedAnswer::kSampleRate;

// Where a thread of the microphone waits until the test lets it go on; after
// ten seconds it goes on by itself, so that a screen that waits for it makes
// its test fail instead of hang.
class Gate {
  public:
    void close() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        if (!opened_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; }))
            open_ = true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = true;
};

// A microphone whose every sample holds the milliseconds from its take's
// start to the moment it was captured, so that a file shows which moment
// each of its samples stands for. It opens kOpenDelayMs after the take starts.
// Its check (a hanging sound server) and its reads wait at their gates.
class ClockMicrophone : public ui::ThreadedAnswerRecorder {
  public:
    // Streams from this many opened on fail to open (negative: never).
    int failFromStream = -1;
    Gate checkGate;
    Gate readGate;

    ~ClockMicrophone() override {
        checkGate.open();
        readGate.open();
        stopAllTakes();
    }
    std::optional<std::string> microphoneProblem() override {
        checkGate.pass();
        return std::nullopt;
    }

  protected:
    std::unique_ptr<ui::MicrophoneStream> openStream(std::int64_t takeStartMs) override {
        if (failFromStream >= 0 && opened_++ >= failFromStream)
            throw std::runtime_error("De microfoon is weggevallen.");
        return std::make_unique<Stream>(takeStartMs, readGate);
    }

  private:
    struct Stream : ui::MicrophoneStream {
        Stream(std::int64_t takeStartMs, Gate& gate) : takeStartMs(takeStartMs), gate(gate) {}
        Block read() override {
            gate.pass();
            std::this_thread::sleep_for(std::chrono::microseconds(20));
            Block block;
            for (int i = 0; i < kRate / 100; ++i, ++count)
                block.samples.push_back(std::int16_t(kOpenDelayMs + count * 1000 / kRate));
            block.capturedEndMs = double(takeStartMs + kOpenDelayMs) + count * 1000.0 / kRate;
            return block;
        }
        std::int64_t takeStartMs;
        Gate& gate;
        std::int64_t count = 0;
    };
    std::atomic<int> opened_{0};
};

// The microphone outlives the screens that record on it.
struct WithMicrophone {
    ClockMicrophone microphone;
};

struct AnswerRecordingTest : WithMicrophone, AdministrationFixture, ::testing::Test {
    int swapAnswerMs(int item) const { return 800 + 100 * item; }

    // From the idle main menu to the swap test, the box ticked or not by the test leader.
    void startSwapTest(bool tickBox) {
        openEntry(false);
        awaitMicrophoneCheck();
        enterSubject();
        if (tickBox != entry().CBopnemen.checked) entry().CBopnemen.click();
        entry().ButtonST.click();
        clock.advance(500);
        passIntroduction(fvIn());
        ASSERT_EQ(app.activeScreen(), &fvTest());
    }
    void runSwapTest() {
        for (int item = 1; item <= 12; ++item) swapItem(swapAnswerMs(item), item % 2 == 0);
        finishSubtest(fvTest());
        entry().Answers.end();  // waits for the last takes
    }
    fs::path recordings(const std::string& key) const { return data / "Opnames" / key; }
    std::vector<std::string> recordingNotices() const {
        std::vector<std::string> found;
        for (const auto& m : dialogs.messages)
            if (m.text.starts_with("Het opnemen van de antwoorden is gestopt.")) found.push_back(m.text);
        return found;
    }
};

TEST_F(AnswerRecordingTest, EveryItemIsRecordedUnderTheSuffixedKeyFromPromptStartToOneSecondAfterStop) {
    app.setRecorder(microphone);
    // The child already has a finished administration today: "Nee" adds " #2".
    std::ofstream(dataFile("Jan01_05-03-2011_FV.vda")) << "x\r\n";
    dialogs.confirmAnswers = {ui::ModalResult::No};
    startSwapTest(true);
    ASSERT_EQ(record().AfnameKey, "Jan01 #2_05-03-2011");
    runSwapTest();

    const fs::path folder = recordings("Jan01 #2_05-03-2011");
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    for (int item = 1; item <= 12; ++item) {
        const fs::path file = folder / record::AnswerFileName(Subtest::FV, item);
        SCOPED_TRACE(file.string());
        ASSERT_TRUE(fs::exists(file));
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        const auto answer = record::ReadAnswerRecording(file);
        ASSERT_TRUE(answer && answer->promptEndSample);
        EXPECT_EQ(answer->sampleRate, kRate);
        const std::int64_t promptEndMs = *answer->promptEndSample * 1000 / kRate;
        // Silent before the microphone opened; then each sample is the moment it stands for.
        EXPECT_EQ(answer->samples.at(kOpenDelayMs * kRate / 1000 - 2), 0);
        EXPECT_NEAR(answer->samples.at(std::size_t(*answer->promptEndSample)), promptEndMs, 1);
        // Prompt, answer, and the second after the stop.
        EXPECT_NEAR(double(answer->samples.size()),
                    double(promptEndMs + swapAnswerMs(item) + 1000) * kRate / 1000, kRate / 100);
        EXPECT_NEAR(answer->samples.back(), promptEndMs + swapAnswerMs(item) + 1000, 2);
    }
    EXPECT_TRUE(recordingNotices().empty());
    // The data file is the one an unrecorded administration writes.
    EXPECT_NE(fileText(dataFile("Jan01 #2_05-03-2011_FV.vda")).find(";12;3;9;0;10;1;11;0"),
              std::string::npos) << fileText(dataFile("Jan01 #2_05-03-2011_FV.vda"));
}

TEST_F(AnswerRecordingTest, RememberedTickRecordsOnlyAfterTheTestLeaderConfirmsIt) {
    app.setRecorder(microphone);
    std::ofstream(settingsFile, std::ios::app) << "opnemen=1\r\n";
    dialogs.confirmAnswers = {ui::ModalResult::No};
    startSwapTest(true);  // the box stands ticked already: nobody touched it
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_NE(dialogs.confirmations[0].text.find("toestemming"), std::string::npos);
    EXPECT_FALSE(entry().CBopnemen.checked);
    runSwapTest();
    EXPECT_FALSE(fs::exists(data / "Opnames"));
    // The remembered choice stays for the next administration.
    EXPECT_EQ(settings.readString(shell::kSettingsKey, "opnemen"), "1");
}

TEST_F(AnswerRecordingTest, TickingTheBoxIsRemembered) {
    app.setRecorder(microphone);
    startSwapTest(true);
    EXPECT_EQ(settings.readString(shell::kSettingsKey, "opnemen"), "1");
    EXPECT_TRUE(dialogs.confirmations.empty());
    // The datapath line is kept.
    EXPECT_EQ(settings.readString(shell::kSettingsKey, "datapath"), data.string());
}

TEST_F(AnswerRecordingTest, WithoutAMicrophoneTheBoxIsDisabledAndSaysWhy) {
    openEntry(false);
    awaitMicrophoneCheck();
    EXPECT_FALSE(entry().CBopnemen.enabled);
    EXPECT_FALSE(entry().CBopnemen.checked);
    EXPECT_EQ(entry().CBopnemen.hint, "Opnemen kan niet: Er is geen microfoon aangesloten.");
}

// A sound server that does not answer, and a take still waiting for its
// microphone, never hold up the entry screen: the box waits for the answer,
// the test leader does not, and the take is still written after the reset.
TEST_F(AnswerRecordingTest, HangingMicrophoneNeverHoldsUpTheEntryScreen) {
    microphone.checkGate.close();
    microphone.readGate.close();
    app.setRecorder(microphone);
    openEntry(false);
    EXPECT_FALSE(entry().CBopnemen.enabled);
    EXPECT_EQ(entry().CBopnemen.hint, "Microfoon wordt gezocht…");
    enterSubject();
    microphone.checkGate.open();
    awaitMicrophoneCheck();
    ASSERT_TRUE(entry().CBopnemen.enabled);
    entry().CBopnemen.click();
    entry().ButtonST.click();
    clock.advance(500);
    passIntroduction(fvIn());
    swapItem(1000, true);  // its take cannot reach its end: the reads wait

    // Interrupted, home, and the next administration's entry screen.
    interruptAndGoHome(fvTest(), fvIn());
    openEntry(false);
    const fs::path take = recordings("Jan01_05-03-2011") / "FV_01.wav";
    EXPECT_FALSE(fs::exists(take));
    microphone.readGate.open();
    entry().Answers.end();
    EXPECT_TRUE(fs::exists(take));
}

TEST_F(AnswerRecordingTest, MicrophoneFailingMidAdministrationEndsRecordingWithOneNotice) {
    microphone.failFromStream = 2;
    app.setRecorder(microphone);
    startSwapTest(true);
    runSwapTest();
    const auto notices = recordingNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("De microfoon is weggevallen."), std::string::npos);
    EXPECT_TRUE(fs::exists(recordings("Jan01_05-03-2011") / "FV_01.wav"));
    EXPECT_TRUE(fs::exists(recordings("Jan01_05-03-2011") / "FV_02.wav"));
    EXPECT_EQ(record::FindRecordings(data, "Jan01_05-03-2011").swapItems.size(), 2u);
    // The administration went on to its end.
    EXPECT_EQ(record().ELaatsteFV, "12");
    EXPECT_EQ(app.activeScreen(), &fvAft());
}

TEST_F(AnswerRecordingTest, UnwritableRecordingsFolderEndsRecordingWithOneNoticeNamingIt) {
    app.setRecorder(microphone);
    std::ofstream(data / "Opnames") << "no folder";
    startSwapTest(true);
    runSwapTest();
    const auto notices = recordingNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find((data / "Opnames").string()), std::string::npos);
    EXPECT_EQ(record().ELaatsteFV, "12");
    EXPECT_EQ(app.activeScreen(), &fvAft());
}

// A recording that says whose it is by its one sample.
ui::RecordedAnswer Marked(std::int16_t mark) {
    ui::RecordedAnswer answer;
    answer.samples = {mark};
    return answer;
}

// "Ja" to the same-day question overwrites today's administration of the
// child: its recordings go apart, so that the correction of the new
// administration never plays them as its own.
TEST_F(AnswerRecordingTest, OverwrittenAdministrationKeepsItsRecordingsApart) {
    const std::string key = "Jan01_05-03-2011";
    std::ofstream(dataFile(key + "_FV.vda")) << "x\r\n";
    record::WriteAnswerRecording(recordings(key) / "FV_02.wav", Marked(7));
    app.setRecorder(microphone);
    dialogs.confirmAnswers = {ui::ModalResult::Yes};
    startSwapTest(false);
    ASSERT_EQ(record().AfnameKey, key);
    EXPECT_FALSE(record::FindRecordings(data, key).any());
    const auto aside = record::ReadAnswerRecording(data / "Opnames" / (key + " (overschreven)") /
                                                   "FV_02.wav");
    ASSERT_TRUE(aside);
    EXPECT_EQ(aside->samples, Marked(7).samples);
}

// The same on a resume onto today's administration: the resumed one's
// earlier recordings are carried, not today's other administration's kept.
TEST_F(AnswerRecordingTest, ResumeOverwritingTodaysAdministrationCarriesOnlyItsOwnRecordings) {
    const std::string yesterday = "Jan01_04-03-2011";
    const std::string today = "Jan01_05-03-2011";
    std::ofstream(incompleteFile(yesterday + ".zta")) << yesterday << "\r\n0\r\n";
    std::ofstream(dataFile(yesterday + "_FW.wda"))
        << "Jan01;FW;meisje;10;06;2002;04;03;2011;School;4;Tl;;1\r\n";
    std::ofstream(dataFile(yesterday + "_FV.vda"))
        << "Jan01;FV;meisje;10;06;2002;04;03;2011;School;4;Tl;2;1;10;1;12;0\r\n";
    record::WriteAnswerRecording(recordings(yesterday) / "FV_01.wav", Marked(1));
    std::ofstream(dataFile(today + "_FV.vda")) << "x\r\n";
    record::WriteAnswerRecording(recordings(today) / "FV_01.wav", Marked(2));
    record::WriteAnswerRecording(recordings(today) / "FV_05.wav", Marked(2));

    dialogs.openAnswers.push_back(incompleteFile(yesterday + ".zta").string());
    dialogs.confirmAnswers = {ui::ModalResult::Yes};
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(record().AfnameKey, today);
    EXPECT_EQ(record::ReadAnswerRecording(recordings(today) / "FV_01.wav")->samples,
              Marked(1).samples);
    EXPECT_EQ(record::FindRecordings(data, today).swapItems, std::set<int>{1});
    EXPECT_EQ(record::FindRecordings(data, today + " (overschreven)").swapItems,
              (std::set<int>{1, 5}));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The program is killed after four swap items: at its next start the
// recovery journal brings the administration back under its key, and the
// resumed administration records the other items beside the four takes made
// before the kill, which stay as they were.
TEST_F(AnswerRecordingTest, RecoveryAfterAKillKeepsTheEarlierTakesAndRecordsTheRestUnderTheSameKey) {
    const std::string key = "Jan01_05-03-2011";
    app.setRecorder(microphone);
    startSwapTest(true);
    ASSERT_EQ(record().AfnameKey, key);
    for (int item = 1; item <= 4; ++item) swapItem(swapAnswerMs(item), true);
    entry().Answers.end();  // the four takes were written before the kill
    std::map<std::string, std::string> beforeKill;
    for (const auto& file : fs::directory_iterator(recordings(key)))
        beforeKill[file.path().filename().string()] = fileText(file.path());
    ASSERT_EQ(beforeKill.size(), 4u);
    // Killed: only the journal knows the marks.
    const fs::path journal = record::JournalPath(data, key);
    const std::string journalText = fileText(journal);
    interruptAndGoHome(fvTest(), fvIn());
    fs::remove(dataFile(key + "_FW.wda"));
    fs::remove(dataFile(key + "_FV.vda"));
    fs::remove(incompleteFile(key + ".zta"));
    std::ofstream(journal, std::ios::binary) << journalText;

    dialogs.confirmAnswers = {ui::ModalResult::Yes, ui::ModalResult::OK};
    entry().OfferRecovery();
    dialogs.openAnswers.push_back(incompleteFile(key + ".zta").string());
    dialogs.confirmAnswers = {ui::ModalResult::Yes};  // consent, asked again
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    ASSERT_EQ(record().AfnameKey, key);
    awaitMicrophoneCheck();
    entry().ButtonContin.click();
    clock.advance(500);
    passIntroduction(fvIn());
    ASSERT_EQ(app.activeScreen(), &fvTest());
    ASSERT_EQ(record().CurrentStepFV, 5);
    for (int item = 5; item <= 12; ++item) swapItem(swapAnswerMs(item), true);
    finishSubtest(fvTest());
    entry().Answers.end();

    EXPECT_EQ(record::FindRecordings(data, key).swapItems.size(), 12u);
    for (const auto& [name, bytes] : beforeKill) EXPECT_EQ(fileText(recordings(key) / name), bytes) << name;
    EXPECT_FALSE(record::FindRecordings(data, key + " (overschreven)").any());
    EXPECT_TRUE(recordingNotices().empty());
}

// The program's own screens, with the report and correction screens, recording
// on the clock microphone.
struct ReportServices {
    report::testing::FakePrinting printing;
    report::testing::FakeFolderOpener folders;
};

struct ResumedRecordingTest : WithMicrophone, ReportServices, AdministrationFixture, ::testing::Test {
    ResumedRecordingTest()
        : AdministrationFixture(
              [this](ui::Application& app) {
                  return std::make_unique<app::ProgramScreenBuilder>(app, printing, folders);
              },
              // Day 1 ends shortly before midnight: day 2 is a few minutes on.
              std::chrono::sys_days{std::chrono::year{2011} / 3 / 5} + std::chrono::hours{23} +
                  std::chrono::minutes{45}) {
        fs::create_directories(reports / "PDF");
        std::ofstream(settingsFile, std::ios::binary | std::ios::app)
            << "trpath=" << reports.string() << "\r\n";
    }
    app::ProgramScreenBuilder& program() { return static_cast<app::ProgramScreenBuilder&>(builder); }
    // Every recording of a folder, by file name.
    std::map<std::string, std::string> folderBytes(const fs::path& folder) const {
        std::map<std::string, std::string> files;
        for (const auto& file : fs::directory_iterator(folder))
            files[file.path().filename().string()] = fileText(file.path());
        return files;
    }
    fs::path reports = root / "reports";
};

// Day 1: the deletion test and swap items 1-5 recorded, then the test leader
// stops and goes home. Day 2: the administration is resumed from its
// incomplete file through the entry screen and finished with swap items
// 6-12. The new key's folder holds every item, the day-1 folder is as it was,
// and the correction screen opened from the stored report plays them all.
TEST_F(ResumedRecordingTest, LaterDayResumeKeepsEveryRecordingAndCorrectionPlaysThemAll) {
    app.setRecorder(microphone);
    openEntry(true);
    awaitMicrophoneCheck();
    enterSubject();
    entry().CBopnemen.click();
    entry().ButtonST.click();
    clock.advance(500);
    passIntroduction(fwIn());
    for (int step = 1; step <= 15; ++step) deletionStep(900 + 10 * step, true);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &fwAft());
    fwAft().BtnYes.click();
    passIntroduction(fvIn());
    for (int item = 1; item <= 5; ++item) swapItem(1200 + 10 * item, true);
    interruptAndGoHome(fvTest(), fvIn());
    entry().Answers.end();  // the program is closed for the night

    // Day 2 has begun.
    const auto day2Start = std::chrono::floor<std::chrono::days>(clock.wallNow()) +
                           std::chrono::days{1} + std::chrono::minutes{1};
    clock.advance(std::chrono::duration_cast<std::chrono::milliseconds>(day2Start - clock.wallNow())
                      .count());
    // The remembered tick is offered; the test leader confirms the consent.
    dialogs.confirmAnswers = {ui::ModalResult::Yes};
    dialogs.openAnswers.push_back(incompleteFile("Jan01_05-03-2011.zta").string());
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    ASSERT_EQ(record().AfnameKey, "Jan01_06-03-2011");
    awaitMicrophoneCheck();
    const fs::path day1 = record::RecordingsFolder(data, "Jan01_05-03-2011");
    const auto day1Files = folderBytes(day1);
    ASSERT_EQ(day1Files.size(), 17u);
    entry().ButtonContin.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvIn());
    fvIn().ButtonIO.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvTest());
    for (int item = 6; item <= 12; ++item) swapItem(1200 + 10 * item, item != 7);
    finishSubtest(fvTest());
    ASSERT_EQ(app.activeScreen(), &finish());
    entry().Answers.end();  // the last take's second has passed

    const fs::path day2 = record::RecordingsFolder(data, "Jan01_06-03-2011");
    const auto day2Files = folderBytes(day2);
    for (int item = 1; item <= 12; ++item) {
        for (Subtest subtest : {Subtest::FW, Subtest::FV}) {
            const std::string name = record::AnswerFileName(subtest, item);
            SCOPED_TRACE(name);
            ASSERT_TRUE(day2Files.contains(name));
            const bool takenOnDay1 = subtest == Subtest::FW || item <= 5;
            EXPECT_EQ(day1Files.contains(name), takenOnDay1);
            if (takenOnDay1) {
                EXPECT_EQ(day2Files.at(name), day1Files.at(name));
            }
        }
    }
    EXPECT_EQ(folderBytes(day1), day1Files);

    // The report of the finished administration, opened again to correct it.
    finish().ButtonTR.click();
    ASSERT_EQ(app.activeScreen(), program().PP);
    clock.advance(100);
    program().PP->ButtonExit.click();
    clock.advance(1500);
    ASSERT_EQ(app.activeScreen(), &finish());
    finish().ButtonHM.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &main());
    dialogs.openAnswers.push_back((reports / "Jan01 - 06-03-2011.zrp").string());
    main().ButtonTRO.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), program().TRO);
    EXPECT_EQ(program().TRO->RecordingsLabel.caption, "Opnames: 24 items");
    program().TRO->CORRbtn.click();
    correction::Tcorrect& correction = *program().Correct;
    ASSERT_EQ(app.activeScreen(), &correction);
    for (int item = 1; item <= 12; ++item) {
        EXPECT_TRUE(correction.PlayButton(Subtest::FW, item).visible) << "FW " << item;
        EXPECT_TRUE(correction.PlayButton(Subtest::FV, item).visible) << "FV " << item;
    }
    correction.PlayButton(Subtest::FV, 2).click();
    EXPECT_EQ(sounds.plays().back().nativePath, (day2 / "FV_02.wav").string());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(AnswerRecordingFilesTest, CorrectedAndResumedKeysFindTheirAdministrationsRecordings) {
    const fs::path data = ui::testing::freshFolder("answer-files");
    ui::RecordedAnswer answer;
    answer.samples = {1, -2, 3};
    answer.promptEndSample = 2;
    record::WriteAnswerRecording(record::RecordingsFolder(data, "Jan_01-02-2011") / "FW_03.wav",
                                 answer);
    // A corrected administration, also corrected again, reads the original's.
    EXPECT_EQ(record::RecordingsFolder(data, "Jan_01-02-2011_gecorrigeerd_gecorrigeerd"),
              data / "Opnames" / "Jan_01-02-2011");
    EXPECT_EQ(record::FindRecordings(data, "Jan_01-02-2011_gecorrigeerd").deletionItems,
              std::set<int>{3});

    // Resumed on a later day: the earlier recordings go with the new key; a
    // recording the new key already has is kept, the old folder stays.
    ui::RecordedAnswer later = answer;
    later.samples = {9};
    record::WriteAnswerRecording(record::RecordingsFolder(data, "Jan_02-02-2011") / "FV_01.wav",
                                 later);
    record::WriteAnswerRecording(record::RecordingsFolder(data, "Jan_01-02-2011") / "FV_01.wav",
                                 answer);
    record::CarryRecordings(data, "Jan_01-02-2011", "Jan_02-02-2011");
    const auto moved = record::ReadAnswerRecording(data / "Opnames/Jan_02-02-2011/FW_03.wav");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->samples, answer.samples);
    EXPECT_EQ(moved->promptEndSample, 2);
    EXPECT_EQ(record::ReadAnswerRecording(data / "Opnames/Jan_02-02-2011/FV_01.wav")->samples,
              later.samples);
    EXPECT_TRUE(fs::exists(data / "Opnames/Jan_01-02-2011/FW_03.wav"));
    fs::remove_all(data);
}

}  // namespace
}  // namespace zor::administration::testing
