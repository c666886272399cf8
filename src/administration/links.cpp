#include "administration/links.h"

#include "shell/message_screen.h"
#include "ui/screen.h"

namespace zor::administration {

namespace {
// How often the end of the save notice is looked for.
constexpr int kNoticePollMs = 10;
}  // namespace

AfterSaveNotice::AfterSaveNotice(ui::Clock& clock) : timer_(clock, kNoticePollMs) {
    timer_.onTimer = [this] { check(); };
}

void AfterSaveNotice::Save(record::TZORinvoer& entry, ui::Screen& notice,
                           std::function<void()> then) {
    entry.Opslaan1Click();
    if (!notice.showingModally()) {
        if (then) then();
        return;
    }
    notice_ = &notice;
    then_ = std::move(then);
    timer_.setEnabled(true);
}

void AfterSaveNotice::check() {
    if (notice_->showingModally()) return;
    timer_.setEnabled(false);
    auto then = std::move(then_);
    then_ = nullptr;
    if (then) then();
}

void AdministrationLinks::Opslaan1Click(std::function<void()> then) const {
    afterSave->Save(*entry, *shell->message, std::move(then));
}

void AdministrationLinks::OfferContinue() const {
    entry->ButtonST.enabled = false;
    entry->ButtonST.visible = false;
    entry->ButtonContin.enabled = true;
    entry->ButtonContin.visible = true;
    entry->ButtonContin.load(buttonPicture("BtnTHred.gif"));
    entry->ButtonNP.enabled = true;
}

}  // namespace zor::administration
