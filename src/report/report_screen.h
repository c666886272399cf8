#pragma once
// What the report preview and the stored-report viewer share: the tool bar
// with print button, zoom box and PDF-notice button, the page display, and the
// handlers of the page store's events, the zoom choice and printing.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "pagestore/print_preview.h"
#include "record/calendar.h"
#include "report/report_page.h"
#include "report/report_services.h"
#include "shell/main_menu.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::report {

inline constexpr const char* kE001Message =
    "Foutmelding E001: incorrect ingesteld datapad. Kies een alternatieve locatie voor het "
    "testrapport!";
inline constexpr const char* kPrintJobTitle = "Afdrukken ZOR-rapport";

// The lower panel of the report screens: the page store, which the front end
// shows with the store's page display (scroll bars, zoom, keys, wheel and drag).
class PreviewPanel : public ui::Control {
public:
    using ui::Control::Control;
    pagestore::TPrintPreview& Store() { return store_; }
    // The colour around the sheet; none: the screen's own.
    std::optional<std::uint32_t> backgroundColor;  // 0xRRGGBB

private:
    pagestore::TPrintPreview store_;
};

class ReportScreen : public ui::Screen {
public:
    ReportScreen(ui::Application& app, std::string name, shell::MainMenu& mainMenu,
                 ReportPrinting& printing, ReportKind kind);

    ui::Picture Toolbar;
    ui::ImageButton PRbtn;
    ui::Label Label1;
    ui::ComboBox ZoomComboBox;
    ui::PushButton RzButton1;
    ui::ImageButton ButtonExit;
    PreviewPanel PrintPreview;
    ui::Edit Edit1;
    ui::ComboBox PageNavigator;  // hidden: one item per page, "1", "2", …

    bool ComposePending = false;

    void PrintButtonClick();
    void ZoomComboBoxChange();
    void PageNavigatorChange();

    // The report folder ("trpath"), read afresh.
    std::filesystem::path TRpath() const { return mainMenu_.reportFolder(); }

protected:
    // Print button at "off", zoom fitting the whole page, compose at the next activation.
    void ResetForComposing();
    void PrintPreviewBeginDoc();
    void PrintPreviewEndDoc();
    void PrintPreviewChange();
    void PrintPreviewZoomChange();
    // Busy while the pages go to the printer: hourglass, progress in the
    // title and no second print job.
    void PrintPreviewBeforePrint();
    void PrintPreviewAfterPrint();
    // The printer's printable area over the page, while the store's
    // annotation is switched on (the screens leave it off).
    void PrintPreviewAnnotation(int pageNo, emf::Canvas& canvas);
    void UpdatePrintButton();
    std::filesystem::path ButtonPicture(std::string_view name) const;
    // Today's date on the program's clock.
    record::Date Today() const;
    // The report's pictures, read from the Graphics folder once.
    const ReportPictures& Pictures();
    // Shows the E001 message and the save dialog proposing proposedName; the
    // chosen report file name, or nothing when cancelled.
    std::optional<std::string> AskAlternativeLocation(const std::string& proposedName);

    shell::MainMenu& mainMenu_;
    ReportPrinting& printing_;

private:
    ReportKind kind_;
    std::unique_ptr<ReportPictures> pictures_;
};

// Stores the report file at the chosen place and its PDF beside it under the
// name pdfName; errors go to the caller.
void StoreAtChosenPlace(pagestore::TPrintPreview& store, const std::string& chosenReportFile,
                        const std::string& pdfName, const record::Date& today);

}  // namespace zor::report
