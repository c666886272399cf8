#include "administration/report_placeholder.h"

namespace zor::administration {

TReportPlaceholder::TReportPlaceholder(ui::Application& app, AdministrationLinks& links)
    : ui::Screen(app, "PP"), links_(links) {
    caption = "Testrapport (onvoltooid)";
    Notice.fontSize = 24;
    Notice.bold = true;
    Notice.color = 0xFFFFFF;
    BackButton.onClick = [this] {
        links_.main->ClickSound();
        setModalResult(ui::ModalResult::Cancel);
    };
}

}  // namespace zor::administration
