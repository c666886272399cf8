#include "administration/links.h"

#include "ui/screen.h"

namespace zor::administration {

void AdministrationLinks::Opslaan1Click(std::function<void()> then) const {
    entry->Opslaan1Click(std::move(then));
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
