#pragma once

#include "administration/links.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::administration {

// Stands in for the report preview until the report is built: it says so
// plainly and returns to the finish screen.
class TReportPlaceholder : public ui::Screen, public ReportPreview {
  public:
    TReportPlaceholder(ui::Application& app, AdministrationLinks& links);

    ui::Label Notice{
        *this, "Notice", {0, 260, 800, 40}, "Testrapport: nog niet beschikbaar in deze versie"};
    ui::PushButton BackButton{*this, "BackButton", {300, 340, 200, 40}, "Terug"};

    ui::Screen& screen() override { return *this; }
    // There is no report page to compose yet.
    void Recreate() override {}

  private:
    AdministrationLinks& links_;
};

}  // namespace zor::administration
