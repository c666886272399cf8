#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "administration_fixture.h"
#include "folders/folders.h"
#include "record/administration_lock.h"
#include "record/recovery_journal.h"

namespace zor::administration::testing {
namespace {

namespace fs = std::filesystem;

const std::string kKey = "Jan01_05-03-2011";

struct RecoveryTest : AdministrationFixture, ::testing::Test {
    fs::path journalFile(const std::string& key = kKey) { return record::JournalPath(data, key); }
    record::JournalState journal(const std::string& key = kKey) {
        const record::JournalRead read = record::ReadJournal(journalFile(key));
        EXPECT_TRUE(read.state) << read.problem;
        return read.state.value_or(record::JournalState{});
    }
    std::string fieldOf(const std::string& line, int field) {
        return record::SplitDataLine(line)[static_cast<std::size_t>(field)];
    }
    void toDeletionTest() {
        startAdministration(true);
        fwIn().ButtonIO.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &fwTest());
    }
    // Interrupts the deletion test and returns to the main menu (a save).
    void interruptAndGoHome() { AdministrationFixture::interruptAndGoHome(fwTest(), fwIn()); }
    void writeText(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string lockOf(const std::string& host, long pid, std::int64_t since) {
        return "ZOR-slot\ncomputer=" + host + "\ngebruiker=juf\nproces=" + std::to_string(pid) +
               "\nsinds=" + std::to_string(since) + "\n";
    }
    std::int64_t wallSeconds() {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   clock.wallNow().time_since_epoch())
            .count();
    }
    std::string hostName() { return record::ProcessIdentity::ThisProcess().host; }
};

TEST_F(RecoveryTest, JournalHoldsStartMarksAndStatusButNotAStopWithoutItsMark) {
    toDeletionTest();
    // The start alone is worth keeping: the administration exists.
    record::JournalState state = journal();
    EXPECT_EQ(state.memo, (std::vector<std::string>{kKey, "0"}));
    EXPECT_EQ(fieldOf(state.dataFW.at(0), 13), "2");
    EXPECT_EQ(fieldOf(state.dataFW.at(0), 14), "");

    deletionStep(1200, true);
    deletionStep(800, false);
    state = journal();
    EXPECT_EQ(fieldOf(state.dataFW[0], 12), "vb2");
    EXPECT_EQ(fieldOf(state.dataFW[0], 14), "12");
    EXPECT_EQ(fieldOf(state.dataFW[0], 15), "1");
    EXPECT_EQ(fieldOf(state.dataFW[0], 16), "8");
    EXPECT_EQ(fieldOf(state.dataFW[0], 17), "0");

    // Stopped, not yet marked: a recovery must repeat this step, not skip it.
    press(U' ');
    advanceUntil([&] { return fwTest().BtnB.enabled; });
    press(U' ');
    awaitStopwatch(fwTest());
    clock.advance(700);
    press(U' ');
    ASSERT_EQ(record().ElaatsteFW, "vb3");
    state = journal();
    EXPECT_EQ(fieldOf(state.dataFW[0], 12), "vb2");
    EXPECT_EQ(fieldOf(state.dataFW[0], 18), "");
    press(U'g');
    EXPECT_EQ(fieldOf(journal().dataFW[0], 12), "vb3");
    EXPECT_EQ(fieldOf(journal().dataFW[0], 18), "7");

    for (int step = 4; step <= 15; ++step) deletionStep(900, true);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &fwAft());
    EXPECT_EQ(fieldOf(journal().dataFW[0], 13), "4");
    // The journal is the save's content: the data file says the same.
    EXPECT_EQ(fileText(dataFile(kKey + "_FW.wda")), journal().dataFW[0] + "\r\n");
}

TEST_F(RecoveryTest, JournalFollowsSubjectDataChangedAfterAnInterruption) {
    toDeletionTest();
    deletionStep(1000, true);
    fwTest().ButtonOT.click();
    clock.advance(500);
    fwIn().ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    type(entry().Eschool, "X");
    EXPECT_EQ(fieldOf(journal().dataFW[0], 9), "De RegenboogX");
    EXPECT_EQ(fieldOf(journal().dataFV[0], 9), "De RegenboogX");
}

TEST_F(RecoveryTest, JournalGoesOnlyOnceSavedAndClosed) {
    toDeletionTest();
    deletionStep(1000, true);
    ASSERT_TRUE(fs::exists(journalFile()));
    interruptAndGoHome();
    EXPECT_FALSE(fs::exists(journalFile()));
    EXPECT_FALSE(fs::exists(record::LockPath(data, kKey)));
}

TEST_F(RecoveryTest, RecoveredAdministrationResumesAtTheFirstUnmarkedStep) {
    toDeletionTest();
    for (int step = 1; step <= 4; ++step) deletionStep(1000 + 100 * step, step != 2);
    // Killed here: only the journal knows the four marks.
    const std::string journalText = fileText(journalFile());
    const record::JournalState before = journal();
    interruptAndGoHome();
    fs::remove(dataFile(kKey + "_FW.wda"));
    fs::remove(dataFile(kKey + "_FV.vda"));
    fs::remove(incompleteFile(kKey + ".zta"));
    writeText(journalFile(), journalText);

    dialogs.confirmAnswers = {ui::ModalResult::Yes, ui::ModalResult::OK};
    entry().OfferRecovery();
    ASSERT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_NE(dialogs.confirmations[0].text.find(kKey), std::string::npos);
    EXPECT_EQ(dialogs.confirmations[0].buttons, ui::ConfirmButtons::YesNo);
    EXPECT_NE(dialogs.confirmations[1].text.find("Testafname hervatten"), std::string::npos);
    EXPECT_FALSE(fs::exists(journalFile()));
    EXPECT_EQ(fileText(dataFile(kKey + "_FW.wda")), before.dataFW[0] + "\r\n");
    EXPECT_EQ(fileText(incompleteFile(kKey + ".zta")), kKey + "\r\n0\r\n");

    dialogs.openAnswers.push_back(incompleteFile(kKey + ".zta").string());
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(record().CurrentStepFW, 5);
    EXPECT_EQ(record().SGRscoreFW.Cell(2, 1), "0");
    EXPECT_EQ(record().SGRscoreFW.Cell(1, 3), "14");
}

TEST_F(RecoveryTest, RefusedRecoverySetsTheJournalAsideAndWritesNothing) {
    toDeletionTest();
    deletionStep(1000, true);
    const std::string journalText = fileText(journalFile());
    interruptAndGoHome();
    fs::remove(dataFile(kKey + "_FW.wda"));
    writeText(journalFile(), journalText);

    dialogs.confirmAnswers = {ui::ModalResult::No};
    entry().OfferRecovery();
    EXPECT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_FALSE(fs::exists(journalFile()));
    EXPECT_EQ(fileText(record::SetAsideFolder(data) / (kKey + ".herstel")), journalText);
    EXPECT_FALSE(fs::exists(dataFile(kKey + "_FW.wda")));
}

TEST_F(RecoveryTest, DamagedJournalIsSetAsideWithAMessageAndTheOthersAreStillOffered) {
    const fs::path damaged = journalFile("Kapot_01-03-2011");
    writeText(damaged, "ZOR-herstelbestand;1\r\nsleutel;Kapot_01-03-2011\r\nbijgewerkt;x\r\nzta;2\r\n");
    const fs::path foreign = journalFile("Vreemd_01-03-2011");
    writeText(foreign, "\x01\x02 geen tekst");

    entry().OfferRecovery();
    EXPECT_TRUE(dialogs.confirmations.empty());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("onbruikbaar"), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find(damaged.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(damaged));
    EXPECT_FALSE(fs::exists(foreign));
    EXPECT_TRUE(fs::exists(record::SetAsideFolder(data) / damaged.filename()));
    EXPECT_TRUE(fs::exists(record::SetAsideFolder(data) / foreign.filename()));
}

TEST_F(RecoveryTest, JournalOfAnAdministrationOpenInARunningProgramIsNotOffered) {
    toDeletionTest();
    deletionStep(1000, true);
    const std::string journalText = fileText(journalFile());
    interruptAndGoHome();
    writeText(journalFile(), journalText);
    // The parent process runs on this host: its lock is live.
    writeText(record::LockPath(data, kKey), lockOf(hostName(), ::getppid(), wallSeconds()));
    entry().OfferRecovery();
    EXPECT_TRUE(dialogs.confirmations.empty());
    EXPECT_TRUE(fs::exists(journalFile()));
}

TEST_F(RecoveryTest, StartRefusedWhileAnotherProgramHoldsTheKeyStaleLocksTakenOver) {
    // Live on this host.
    writeText(record::LockPath(data, kKey), lockOf(hostName(), ::getppid(), wallSeconds()));
    dialogs.confirmAnswers = {ui::ModalResult::OK};
    startAdministration(true);
    ASSERT_EQ(app.activeScreen(), &entry());
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    const std::string& refusal = dialogs.confirmations[0].text;
    EXPECT_NE(refusal.find("juf"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(hostName()), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(std::to_string(::getppid())), std::string::npos) << refusal;
    EXPECT_TRUE(record().MdataFW.empty());

    // Another host, one hour old: still held.
    writeText(record::LockPath(data, kKey), lockOf("schoolpc-7", 4242, wallSeconds() - 3600));
    dialogs.confirmAnswers = {ui::ModalResult::OK};
    entry().ButtonST.click();
    clock.advance(500);
    EXPECT_EQ(dialogs.confirmations.size(), 2u);
    EXPECT_NE(dialogs.confirmations[1].text.find("schoolpc-7"), std::string::npos);
    EXPECT_TRUE(record().MdataFW.empty());

    // Another host, 13 hours old: abandoned, taken over.
    writeText(record::LockPath(data, kKey), lockOf("schoolpc-7", 4242, wallSeconds() - 13 * 3600));
    entry().ButtonST.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &fwIn());
    EXPECT_EQ(dialogs.confirmations.size(), 2u);
    const std::string held = fileText(record::LockPath(data, kKey));
    EXPECT_NE(held.find("proces=" + std::to_string(::getpid())), std::string::npos) << held;
}

TEST_F(RecoveryTest, DeadProcessLockOnThisHostIsTakenOver) {
    // A child that has ended and been reaped: its pid no longer runs.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    writeText(record::LockPath(data, kKey), lockOf(hostName(), child, wallSeconds()));
    startAdministration(true);
    EXPECT_EQ(app.activeScreen(), &fwIn());
    EXPECT_TRUE(dialogs.confirmations.empty());
}

TEST_F(RecoveryTest, ResumeOntoAKeyWithAnotherAdministrationAsksAndNeverOverwrites) {
    const std::string fwYesterday =
        "Jan01;FW;meisje;10;06;2002;04;03;2011;School;4;Tl;vb2;2;10;1;12;0";
    const std::string fvYesterday = "Jan01;FV;meisje;10;06;2002;04;03;2011;School;4;Tl;;2";
    writeText(incompleteFile("Jan01_04-03-2011.zta"), "Jan01_04-03-2011\r\n0\r\n");
    writeText(dataFile("Jan01_04-03-2011_FW.wda"), fwYesterday + "\r\n");
    writeText(dataFile("Jan01_04-03-2011_FV.vda"), fvYesterday + "\r\n");
    // Today's administration of the same child, already finished.
    const std::string today = "Jan01;FW;jongen;10;06;2002;05;03;2011;Ander;4;Tl;15;4\r\n";
    writeText(dataFile(kKey + "_FW.wda"), today);
    writeText(dataFile(kKey + "_FV.vda"), today);

    dialogs.openAnswers.push_back(incompleteFile("Jan01_04-03-2011.zta").string());
    dialogs.confirmAnswers = {ui::ModalResult::No};
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_NE(dialogs.confirmations[0].text.find("overschrijven"), std::string::npos);
    EXPECT_EQ(record().Ecode, "Jan01 #2");
    EXPECT_EQ(record().AfnameKey, "Jan01 #2_05-03-2011");

    entry().Filesave.click();
    clock.advance(1500);
    EXPECT_EQ(fileText(dataFile(kKey + "_FW.wda")), today);
    const std::string moved = fileText(dataFile("Jan01 #2_05-03-2011_FW.wda"));
    EXPECT_TRUE(moved.starts_with("Jan01 #2;FW;meisje;10;06;2002;05;03;2011;School;4;Tl;vb2;2;10;1"))
        << moved;
    EXPECT_EQ(fileText(incompleteFile("Jan01 #2_05-03-2011.zta")), "Jan01 #2_05-03-2011\r\n2\r\n");
}

TEST_F(RecoveryTest, ResumeRefusedWhileAnotherProgramHoldsTheKeyAndItsFileIsKept) {
    writeText(incompleteFile("Jan01_04-03-2011.zta"), "Jan01_04-03-2011\r\n0\r\n");
    writeText(dataFile("Jan01_04-03-2011_FW.wda"),
              "Jan01;FW;meisje;10;06;2002;04;03;2011;School;4;Tl;vb2;2;10;1;12;0\r\n");
    writeText(dataFile("Jan01_04-03-2011_FV.vda"),
              "Jan01;FV;meisje;10;06;2002;04;03;2011;School;4;Tl;;2\r\n");
    writeText(record::LockPath(data, "Jan01_04-03-2011"),
              lockOf("schoolpc-7", 4242, wallSeconds() - 60));
    dialogs.openAnswers.push_back(incompleteFile("Jan01_04-03-2011.zta").string());
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("schoolpc-7"), std::string::npos);
    EXPECT_TRUE(fs::exists(incompleteFile("Jan01_04-03-2011.zta")));
    EXPECT_TRUE(record().MdataFW.empty());
    EXPECT_FALSE(fs::exists(record::LockPath(data, kKey)));
}

TEST_F(RecoveryTest, UnwritableJournalGivesOneNoticeAndTheAdministrationGoesOn) {
    toDeletionTest();
    fs::remove(journalFile());
    // A file where the recovery folder should be: no journal can be written.
    fs::remove_all(folders::recoveryFolder(data));
    writeText(folders::recoveryFolder(data), "in de weg");
    for (int step = 1; step <= 3; ++step) deletionStep(1000, true);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("herstelbestand"), std::string::npos);
    EXPECT_EQ(record().ElaatsteFW, "vb3");
    EXPECT_EQ(app.activeScreen(), &fwTest());
}

}  // namespace
}  // namespace zor::administration::testing
