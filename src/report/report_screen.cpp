#include "report/report_screen.h"

#include <chrono>
#include <filesystem>

#include "folders/folders.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "ui/application.h"

namespace zor::report {
namespace {

const std::vector<std::string> kZoomItems = {"50%",  "100%", "150%",
                                             "200%", "Paginabreedte", "Hele pagina"};

}  // namespace

ReportScreen::ReportScreen(ui::Application& app, std::string name, shell::MainMenu& mainMenu,
                           ReportPrinting& printing, ReportKind kind)
    : ui::Screen(app, std::move(name)),
      Toolbar(*this, "Background", {0, 0, 800, 70}),
      PRbtn(*this, "PRbtn", {16, 10, 137, 52}),
      Label1(*this, "Label1", {174, 24, 60, 16}, "Zoom:"),
      ZoomComboBox(*this, "ZoomComboBox", {240, 21, 97, 21}),
      RzButton1(*this, "RzButton1", {616, 11, 110, 50},
                "NIEUW: Testrapport.PDF  Klik hier voor info!"),
      ButtonExit(*this, "ButtonExit", {742, 13, 40, 40}, "Afdrukvenster sluiten"),
      PrintPreview(*this, "PrintPreview", {2, 111, 798, 460}),
      Edit1(*this, "Edit1"),
      PageNavigator(*this, "PageNavigator"),
      mainMenu_(mainMenu),
      printing_(printing),
      kind_(kind) {
    caption = "Afdrukvoorbeeld";
    Toolbar.stretch = true;
    Label1.alignment = ui::Label::Alignment::Right;
    Label1.bold = true;
    Label1.color = 0xC0C0C0;
    Label1.transparent = true;
    RzButton1.bold = true;
    RzButton1.fontColor = 0x00FFFF;
    // A dark workspace grey: the aqua caption must read well on it.
    RzButton1.faceColor = 0x4A4A4A;
    PrintPreview.backgroundColor = 0x000000;
    ZoomComboBox.items = kZoomItems;
    Edit1.visible = false;
    PageNavigator.visible = false;

    PRbtn.onClick = [this] { PrintButtonClick(); };
    ZoomComboBox.onChange = [this] { ZoomComboBoxChange(); };
    PageNavigator.onChange = [this] { PageNavigatorChange(); };

    pagestore::TPrintPreview& store = PrintPreview.Store();
    store.SetUsePrinterOptions(true);
    store.SetPrintJobTitle(kPrintJobTitle);
    store.OnBeginDoc = [this](pagestore::TPrintPreview&) { PrintPreviewBeginDoc(); };
    store.OnEndDoc = [this](pagestore::TPrintPreview&) { PrintPreviewEndDoc(); };
    store.OnChange = [this](pagestore::TPrintPreview&) { PrintPreviewChange(); };
    store.OnBeforePrint = [this](pagestore::TPrintPreview&) { PrintPreviewBeforePrint(); };
    store.OnAfterPrint = [this](pagestore::TPrintPreview&) { PrintPreviewAfterPrint(); };
    store.OnZoomChange = [this](pagestore::TPrintPreview&) { PrintPreviewZoomChange(); };
    store.OnAnnotation = [this](pagestore::TPrintPreview&, int pageNo, emf::Canvas& canvas) {
        PrintPreviewAnnotation(pageNo, canvas);
    };
    // The margins the report screens keep around the sheet.
    store.Display().SetMargins(10, 10);
}

std::filesystem::path ReportScreen::ButtonPicture(std::string_view name) const {
    return folders::buttonPicture(mainMenu_.Pgmpath(), name);
}

record::Date ReportScreen::Today() const {
    // The local calendar day, the day the entry screen gave the administration.
    return record::LocalDate(app().clock().wallNow());
}

const ReportPictures& ReportScreen::Pictures() {
    if (!pictures_) {
        pictures_ = std::make_unique<ReportPictures>(
            LoadReportPictures(folders::graphicsFolder(mainMenu_.Pgmpath()), kind_));
    }
    return *pictures_;
}

void ReportScreen::ResetForComposing() {
    Toolbar.load(folders::graphicsFolder(mainMenu_.Pgmpath()) / "Toolbar.jpg");
    ButtonExit.load(ButtonPicture("BtnExit.gif"));
    PRbtn.load(ButtonPicture("BtnPRoff.gif"));
    PrintPreview.Store().Display().SetZoomState(pagestore::zsZoomToFit);
    PrintPreviewZoomChange();
    ComposePending = true;
}

void ReportScreen::UpdatePrintButton() {
    PRbtn.enabled = printing_.PrinterInstalled() && PrintPreview.Store().TotalPages() >= 1;
}

void ReportScreen::PrintPreviewBeginDoc() {
    caption = app().title + " - Creating pages...";
    PRbtn.enabled = false;
}

void ReportScreen::PrintPreviewEndDoc() {
    caption = app().title;
    UpdatePrintButton();
}

void ReportScreen::PrintPreviewBeforePrint() {
    app().cursor = ui::Cursor::HourGlass;
    caption = app().title + " - Preparing to print...";
    PRbtn.enabled = false;
}

void ReportScreen::PrintPreviewAfterPrint() {
    caption = app().title;
    app().cursor = ui::Cursor::Default;
    UpdatePrintButton();
}

void ReportScreen::PrintPreviewAnnotation(int, emf::Canvas& canvas) {
    canvas.setPen({emf::rgb(0, 0, 0), 0, emf::pen_style::Dot});
    canvas.setBrush({emf::rgb(255, 255, 255), emf::brush_style::Null});
    canvas.rectangle(PrintPreview.Store().PrinterPageBounds());
}

void ReportScreen::PrintPreviewChange() {
    pagestore::TPrintPreview& store = PrintPreview.Store();
    PageNavigator.items.clear();
    for (int page = 1; page <= store.TotalPages(); ++page) {
        PageNavigator.items.push_back(std::to_string(page));
    }
    PageNavigator.itemIndex = store.CurrentPage() - 1;
    if (store.State() != pagestore::TPreviewState::Composing) UpdatePrintButton();
}

void ReportScreen::PrintPreviewZoomChange() {
    const pagestore::PreviewLayout& display = PrintPreview.Store().Display();
    int index = -1;
    switch (display.ZoomState()) {
        case pagestore::zsZoomToWidth: index = 4; break;
        case pagestore::zsZoomToHeight: index = 5; break;
        case pagestore::zsZoomToFit: break;
        case pagestore::zsZoomOther:
            for (int i = 0; i < 4; ++i) {
                if (kZoomItems[i] == std::to_string(display.Zoom()) + "%") index = i;
            }
            break;
    }
    ZoomComboBox.itemIndex = index;
}

void ReportScreen::ZoomComboBoxChange() {
    pagestore::PreviewLayout& display = PrintPreview.Store().Display();
    const int index = ZoomComboBox.itemIndex;
    if (index >= 0 && index < 4) {
        display.SetZoom(std::stoi(kZoomItems[index]));
    } else if (index == 4) {
        display.SetZoomState(pagestore::zsZoomToWidth);
    } else if (index == 5) {
        display.SetZoomState(pagestore::zsZoomToHeight);
    }
}

void ReportScreen::PageNavigatorChange() {
    PrintPreview.Store().SetCurrentPage(PageNavigator.itemIndex + 1);
}

void ReportScreen::PrintButtonClick() {
    pagestore::TPrintPreview& store = PrintPreview.Store();
    if (store.State() != pagestore::TPreviewState::Idle) return;
    mainMenu_.ClickSound();
    PRbtn.load(ButtonPicture("BtnPRon.gif"));
    Latency();
    printing_.WritePrinterSetup(store);
    const bool confirmed = printing_.PrinterSetupDialog();
    // The dialog's closing runs the creation step, confirmed or not.
    ResetForComposing();
    if (confirmed) printing_.Print(store);
}

std::optional<std::string> ReportScreen::AskAlternativeLocation(const std::string& proposedName) {
    app().showMessage(kE001Message);
    ui::FileDialogRequest request;
    request.title = "Naar bestand opslaan";
    request.fileName = proposedName;
    request.defaultExt = "zrp";
    request.filter = "ZOR-rapport (*.zrp)|*.*";
    request.hideReadOnly = true;
    request.pathMustExist = true;
    return app().dialogs().saveFile(request);
}

void StoreAtChosenPlace(pagestore::TPrintPreview& store, const std::string& chosenReportFile,
                        const std::string& pdfName, const record::Date& today) {
    const std::filesystem::path reportFile(chosenReportFile);
    store.SaveToFile(reportFile);
    store.SaveAsPDF(reportFile.parent_path() / pdfName, ClockOfDate(today));
}

}  // namespace zor::report
