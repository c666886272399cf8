#pragma once

#include <memory>

#include "administration/administration_screens.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::administration::testing {

// The report preview as the finish screen opens it: its back button returns
// to the finish screen, and it counts how often it is asked to compose the
// report again.
class StandInReportPreview : public ui::Screen, public ReportPreview {
  public:
    explicit StandInReportPreview(ui::Application& app) : ui::Screen(app, "TPP") {
        BackButton.onClick = [this] { setModalResult(ui::ModalResult::Cancel); };
    }

    ui::PushButton BackButton{*this, "BackButton", {300, 340, 200, 40}, "Terug"};
    int recreateCount = 0;

    ui::Screen& screen() override { return *this; }
    void Recreate() override { ++recreateCount; }
};

// The administration screens with stand-ins for the report and correction
// screens, which the administration only opens.
class StandInReportScreenBuilder : public AdministrationScreenBuilder {
  public:
    explicit StandInReportScreenBuilder(ui::Application& app)
        : AdministrationScreenBuilder(app), app_(app) {}

    ui::Screen& createCorrection(shell::ShellScreens&) override {
        correction_ = std::make_unique<ui::Screen>(app_, "Tcorrect");
        return *correction_;
    }
    ui::Screen& createReportPreview(shell::ShellScreens&) override {
        preview_ = std::make_unique<StandInReportPreview>(app_);
        links.preview = preview_.get();
        return *preview_;
    }
    ui::Screen& createStoredReportViewer(shell::ShellScreens&) override {
        viewer_ = std::make_unique<ui::Screen>(app_, "TTRO");
        return *viewer_;
    }

  private:
    ui::Application& app_;
    std::unique_ptr<ui::Screen> correction_;
    std::unique_ptr<StandInReportPreview> preview_;
    std::unique_ptr<ui::Screen> viewer_;
};

}  // namespace zor::administration::testing
