// Editing on the correction screen: key filters, the 12-character rule of
// school and test leader, the mark choosers and the messages of CheckEdits.
#include <gtest/gtest.h>

#include "record/key_filters.h"
#include "correction_fixture.h"

namespace zor::correction::testing {
namespace {

using record::IsCodeKey;
using record::IsDigitKey;
using record::kCodeKeyMessage;

const std::string kKey = "K123_05-03-2011";
const std::string kBirthDateMessage =
    "Ongeldige ingave! Vul een correcte geboortedatum [dd-mm-jjjj] in s.v.p.!";

struct CorrectionEditingTest : CorrectionFixture {
    CorrectionEditingTest() {
        AddSample(kKey);
        Open(kKey);
    }
    static void Type(ui::Edit& field, std::u32string_view keys) {
        for (char32_t key : keys) field.keyPress(key);
    }
    static void Clear(ui::Edit& field) {
        field.caret = -1;
        while (!field.text().empty()) field.keyPress(8);
    }
    // Presses the correction button, answering the check's box with OK.
    void PressWithFailingCheck() {
        ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
        correct.CORRbtn.click();
    }
    bool NothingWritten() const {
        return std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()) == 2;
    }
};

TEST_F(CorrectionEditingTest, AnEmptyCodeAsksForAName) {
    Clear(correct.Ecode);
    PressWithFailingCheck();

    ASSERT_EQ(ui.dialogs.confirmations.size(), 1u);
    EXPECT_EQ(ui.dialogs.confirmations[0].text, "Type eerst een proefpersoonnaam");
    EXPECT_EQ(ui.dialogs.confirmations[0].buttons, ui::ConfirmButtons::OK);
    EXPECT_EQ(correct.ActiveControl, &correct.Ecode);
    EXPECT_FALSE(correct.CorrectedRecord().SubjectValid);
    EXPECT_EQ(viewer.composed, 0);
    EXPECT_TRUE(IsOpen());
    EXPECT_TRUE(NothingWritten());
}

TEST_F(CorrectionEditingTest, AMissingSexGivesTheBirthDateMessage) {
    correct.ButtonExit.click();
    for (const char* name : {"K123_05-03-2011_FW.wda", "K123_05-03-2011_FV.vda"}) {
        std::string line = File(name);
        line.replace(line.find(";meisje;"), 8, ";;");
        WriteBytes(dataFolder / name, line);
    }
    Open(kKey);
    ASSERT_EQ(correct.RGsekse.itemIndex, -1);
    PressWithFailingCheck();

    ASSERT_EQ(ui.dialogs.confirmations.size(), 1u);
    EXPECT_EQ(ui.dialogs.confirmations[0].text, kBirthDateMessage);
    EXPECT_EQ(correct.ActiveControl, &correct.Egebdag);  // month "02" fits
    EXPECT_TRUE(NothingWritten());

    correct.RGsekse.select(1);
    EXPECT_EQ(correct.CorrectedRecord().RGsekse, record::Sex::Jongen);
}

TEST_F(CorrectionEditingTest, BirthDatesThatAreNoDatesGiveTheBirthDateMessage) {
    struct Case {
        std::u32string day, month, year;
        ui::Edit* focus;
    };
    const Case cases[] = {
        {U"31", U"02", U"2004", &correct.Egebdag},  // no such day
        {U"00", U"02", U"2004", &correct.Egebdag},
        {U"14", U"13", U"2004", &correct.Egebmnd},  // month above 12
        {U"14", U"2", U"2004", &correct.Egebmnd},   // one-character month
        {U"4", U"02", U"2004", &correct.Egebdag},   // one-character day
        {U"14", U"02", U"04", &correct.Egebdag},    // two-digit year
    };
    for (const Case& c : cases) {
        for (auto [field, text] :
             {std::pair{&correct.Egebdag, c.day}, std::pair{&correct.Egebmnd, c.month},
              std::pair{&correct.Egebjaar, c.year}}) {
            Clear(*field);
            Type(*field, text);
        }
        ui.dialogs.confirmations.clear();
        PressWithFailingCheck();
        ASSERT_EQ(ui.dialogs.confirmations.size(), 1u);
        EXPECT_EQ(ui.dialogs.confirmations[0].text, kBirthDateMessage);
        EXPECT_EQ(correct.ActiveControl, c.focus);
        EXPECT_EQ(correct.CORRbtn.pictureName(), "BtnWZNoff.gif");
    }
    EXPECT_EQ(viewer.composed, 0);
    EXPECT_TRUE(NothingWritten());
}

TEST_F(CorrectionEditingTest, APastedCodeWithCharactersThatCannotNameAFileIsRefused) {
    correct.Ecode.type("../K123");
    correct.CORRbtn.click();

    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_EQ(ui.dialogs.messages[0].text, kCodeKeyMessage);
    EXPECT_TRUE(ui.dialogs.confirmations.empty());
    EXPECT_EQ(correct.ActiveControl, &correct.Ecode);
    EXPECT_TRUE(NothingWritten());
}

TEST_F(CorrectionEditingTest, KeyFiltersRefuseOtherCharactersWithTheirMessages) {
    Clear(correct.Ecode);
    Type(correct.Ecode, U"Ab9#()-_ x");
    EXPECT_EQ(correct.Ecode.text(), "Ab9#()-_x");
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_EQ(ui.dialogs.messages[0].text,
              "Ongeldige ingave! Alleen cijfers {0 t/m 9}, letters {aA t/m zZ} en # ( ) - _ zijn "
              "hier toegestaan.");
    EXPECT_EQ(correct.CorrectedRecord().Ecode, "Ab9#()-_x");

    Clear(correct.Egebdag);
    Type(correct.Egebdag, U"1a");
    EXPECT_EQ(correct.Egebdag.text(), "1");
    ASSERT_EQ(ui.dialogs.messages.size(), 2u);
    EXPECT_EQ(ui.dialogs.messages[1].text,
              "Ongeldige ingave! Alleen de cijfers 0 t/m 9 zijn hier toegestaan.");
    for (char32_t key : {U' ', U'\r', U'\x1b', U'é'}) EXPECT_FALSE(IsCodeKey(key));
    EXPECT_TRUE(IsDigitKey(8));
}

TEST_F(CorrectionEditingTest, FullBirthDateFieldsMoveTheFocusOn) {
    Clear(correct.Egebdag);
    Clear(correct.Egebmnd);
    Clear(correct.Egebjaar);
    Type(correct.Egebdag, U"03");
    EXPECT_EQ(correct.ActiveControl, &correct.Egebmnd);
    Type(correct.Egebmnd, U"11");
    EXPECT_EQ(correct.ActiveControl, &correct.Egebjaar);
    Type(correct.Egebjaar, U"2003");
    EXPECT_EQ(correct.ActiveControl, &correct.Eschool);
    EXPECT_EQ(correct.CorrectedRecord().Egebdag + correct.CorrectedRecord().Egebmnd +
                  correct.CorrectedRecord().Egebjaar,
              "03112003");
}

TEST_F(CorrectionEditingTest, SchoolAndTestLeaderKeepTwelveCharacters) {
    Clear(correct.Eschool);
    Type(correct.Eschool, U"Basisschool");  // 11
    Type(correct.Eschool, U"X");
    EXPECT_EQ(correct.Eschool.text(), "BasisschoolX");
    Type(correct.Eschool, U"Y");  // the 13th character goes again
    EXPECT_EQ(correct.Eschool.text(), "BasisschoolX");
    EXPECT_EQ(correct.Eschool.caret, 12);

    // Typed in the middle, the new character stays and the 13th is removed.
    correct.Eschool.caret = 5;
    correct.Eschool.keyPress(U'-');
    EXPECT_EQ(correct.Eschool.text(), "Basis-school");
    EXPECT_EQ(correct.CorrectedRecord().Eschool, "Basis-school");

    Clear(correct.Etl);
    Type(correct.Etl, U"Mevr. Janssens");
    EXPECT_EQ(correct.Etl.text(), "Mevr. Jansse");
    EXPECT_EQ(correct.CorrectedRecord().Etl, "Mevr. Jansse");

    // A pasted text keeps its first twelve characters.
    correct.Eschool.type("Basisschool Het Anker");
    EXPECT_EQ(correct.Eschool.text(), "Basisschool ");

    // Group changes only itself.
    Clear(correct.Egroep);
    Type(correct.Egroep, U"7b");
    EXPECT_EQ(correct.CorrectedRecord().Egroep, "7b");
}

TEST_F(CorrectionEditingTest, ALongLoadedSchoolIsShownAndStoredWithTwelveCharacters) {
    correct.ButtonExit.click();
    AddSample("S7 #2_05-03-2011");
    Open("S7 #2_05-03-2011");
    EXPECT_EQ(correct.Eschool.text(), "Basisschool ");
    EXPECT_EQ(correct.CorrectedRecord().Eschool, "Basisschool ");
    EXPECT_EQ(correct.Etl.text(), "M. de Vries");

    ui.dialogs.confirmAnswers = {ui::ModalResult::OK};
    correct.CORRbtn.click();
    const auto fields = FirstLineFields(File("S7 #2_05-03-2011_gecorrigeerd_FV.vda"));
    EXPECT_EQ(fields[0], "S7 #2");
    EXPECT_EQ(fields[9], "Basisschool ");
    // Only the swap subtest was done: the deletion line stays without results.
    EXPECT_EQ(FirstLineFields(File("S7 #2_05-03-2011_gecorrigeerd_FW.wda")).size(), 14u);
}

TEST_F(CorrectionEditingTest, ChoosersWriteEveryGivenMarkAndRecolour) {
    correct.FWitemAcc(2).select(1);   // F -> G
    correct.FWitemAcc(12).select(1);  // F -> G
    correct.FVitemAcc(1).select(0);   // G -> F
    const record::AdministrationRecord& afname = correct.CorrectedRecord();
    EXPECT_EQ(afname.SGRscoreFW.Cell(2, 4), "1");
    EXPECT_EQ(afname.SGRscoreFW.Cell(2, 14), "1");
    EXPECT_EQ(afname.SGRscoreFV.Cell(2, 0), "0");
    // Examples and times are untouched.
    EXPECT_EQ(afname.SGRscoreFW.Cell(2, 0), "1");
    EXPECT_EQ(afname.SGRscoreFW.Cell(1, 4), "52");
    EXPECT_EQ(afname.Totals().correctFW, 11);
    EXPECT_EQ(afname.Totals().correctFV, 9);
    EXPECT_EQ(correct.FWitemAcc(2).color, 0x008000u);
    EXPECT_EQ(correct.FVitemAcc(1).color, 0xFF0000u);
}

}  // namespace
}  // namespace zor::correction::testing
