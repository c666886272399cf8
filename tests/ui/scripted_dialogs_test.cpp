#include "ui/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zor::ui {
namespace {

TEST(ScriptedDialogsTest, AnswersFromQueuesAndRecordsEveryQuestion) {
    ScriptedDialogs d;
    d.confirmAnswers = {ModalResult::OK};
    d.openAnswers = {std::nullopt};
    EXPECT_EQ(d.confirm("Doorgaan?", ConfirmButtons::OKCancel), ModalResult::OK);
    FileDialogRequest req;
    req.title = "Openen";
    req.initialDir = "/x";
    req.filter = "A|*.a";
    EXPECT_EQ(d.openFile(req), std::nullopt);
    ASSERT_EQ(d.openRequests.size(), 1u);
    EXPECT_EQ(d.openRequests[0], req);
    EXPECT_EQ(d.confirmations[0].text, "Doorgaan?");
    EXPECT_EQ(d.confirmations[0].options, ConfirmOptions{});
    d.confirmAnswers = {ModalResult::No};
    const ConfirmOptions found{.title = "Gevonden",
                               .defaultButton = ModalResult::No,
                               .fontFamily = "Arial",
                               .messagePointSize = 8};
    d.confirm("Overschrijven?", ConfirmButtons::YesNo, found);
    EXPECT_EQ(d.confirmations[1].options, found);
    // A question nobody expected is an error, not a silent default.
    EXPECT_THROW(d.confirm("Nog een vraag?", ConfirmButtons::YesNo), std::logic_error);
    EXPECT_THROW(d.saveFile(req), std::logic_error);
}

}  // namespace
}  // namespace zor::ui
