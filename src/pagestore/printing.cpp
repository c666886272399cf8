#include "pagestore/printing.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "emf/mul_div.h"

namespace zor::pagestore {
namespace {

constexpr std::size_t MaxFormNameLength = 32;
constexpr int UserDefinedPaper = 256;
constexpr int MinimumFormSize = 10;  // 0.001 mm

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string limitFormName(const std::string& name) { return name.substr(0, MaxFormNameLength); }

// Keeps the store's state and the printer job consistent when something throws
// in the middle of a document.
struct Guard {
    std::function<void()> onExit;
    ~Guard() {
        if (onExit) onExit();
    }
};

}  // namespace

TStorePrinter::TStorePrinter(TPrintPreview& store, PrintingDevice* device)
    : store_(store), device_(device) {}

TStorePrinter::~TStorePrinter() {
    try {
        stopDirectPrinting();
    } catch (...) {
    }
    if (!ownForm_.empty() && device_) {
        try {
            deleteForm(ownForm_, false);
        } catch (...) {
        }
    }
}

bool TStorePrinter::PrinterInstalled() const { return device_ && !device_->Printers().empty(); }

// --- Printing stored pages ----------------------------------------------------------

void TStorePrinter::Print() { PrintPages(1, store_.TotalPages()); }

void TStorePrinter::PrintPages(int first, int last) {
    if (store_.State() != TPreviewState::Idle || !PrinterInstalled() || store_.TotalPages() < 1)
        return;
    // Only stored pages can be printed.
    first = std::max(first, 1);
    last = std::min(last, store_.TotalPages());
    if (last < first) return;
    if (!store_.EnterState(TPreviewState::Printing, [this] { cancelJob(); })) return;

    bool completed = false;
    try {
        fire(OnBeforePrint);
        if (!store_.UsePrinterOptions()) WritePrinterSetup();
        device_->SetJobTitle(store_.PrintJobTitle());
        device_->BeginJob();
        const emf::Rect target = paperTargetOnPrinter(device_->Metrics());
        const bool grey = (store_.Grayscale() & gsPrint) != 0;
        const int total = last - first + 1;
        for (int i = first; i <= last && !store_.Aborted(); ++i) {
            reportProgress(i, i - first, total);
            if (!store_.Aborted()) {
                if (const auto* page = store_.GetPage(i)) device_->DrawPage(*page, target, grey);
            }
            reportProgress(i, i - first + 1, total);
            if (!store_.Aborted()) {
                if (i < last)
                    device_->NewJobPage();
                else
                    completed = true;
            }
        }
    } catch (const EAbort&) {
        endPrinting(completed);
        return;
    } catch (...) {
        endPrinting(completed);
        throw;
    }
    endPrinting(completed);
}

void TStorePrinter::reportProgress(int page, int done, int total) {
    if (store_.Aborted()) return;
    bool abortIt = false;
    if (OnPrintProgress) OnPrintProgress(store_, page, emf::mulDiv(100, done, total), abortIt);
    if (abortIt) store_.Abort();
}

void TStorePrinter::cancelJob() {
    if (device_ && device_->JobPrinting() && !device_->JobAborted()) device_->AbortJob();
}

void TStorePrinter::endPrinting(bool completed) {
    // Whatever happened, the job is closed or aborted and the store is Idle again.
    Guard idle{[this, completed] { store_.LeaveState(!completed); }};
    if (!completed && device_->JobPrinting()) device_->AbortJob();
    if (device_->JobPrinting()) device_->EndJob();
    device_->SetJobTitle("");
    fire(OnAfterPrint);
}

emf::Rect TStorePrinter::paperTargetOnPrinter(const PrinterMetrics& m) const {
    int width, height;
    if (store_.UsePrinterOptions()) {
        width = m.physicalWidth;
        height = m.physicalHeight;
    } else {
        width = store_.ConvertUnits(store_.PaperWidth(), m.dpiX, store_.Units(), mmPixel);
        height = store_.ConvertUnits(store_.PaperHeight(), m.dpiY, store_.Units(), mmPixel);
    }
    // The paper's corner lands on the sheet's corner.
    return {-m.offsetX, -m.offsetY, width - m.offsetX, height - m.offsetY};
}

emf::Rect TStorePrinter::PrinterPageBounds() const {
    if (!PrinterInstalled()) return store_.PageBounds();
    const PrinterMetrics m = device_->Metrics();
    const TUnits u = store_.Units();
    const int left = store_.ConvertUnits(m.offsetX, m.dpiX, mmPixel, u);
    const int top = store_.ConvertUnits(m.offsetY, m.dpiY, mmPixel, u);
    return {left, top, left + store_.ConvertUnits(m.printableWidth, m.dpiX, mmPixel, u),
            top + store_.ConvertUnits(m.printableHeight, m.dpiY, mmPixel, u)};
}

// --- Direct printing ----------------------------------------------------------------

void TStorePrinter::BeginDoc() {
    if (!directPrint_) {
        if (store_.State() != TPreviewState::Idle) return;
        if (store_.UsePrinterOptions()) ReadPrinterSetup();
        store_.BeginDoc();
        return;
    }
    if (store_.State() != TPreviewState::Idle || !PrinterInstalled()) return;
    if (store_.UsePrinterOptions())
        ReadPrinterSetup();
    else
        WritePrinterSetup();
    if (!store_.EnterState(TPreviewState::Printing, [this] {
            directCanvas_.reset();
            directPrinting_ = false;
            cancelJob();
        }))
        return;
    directPrinting_ = true;
    directPages_ = 0;
    try {
        device_->SetJobTitle(store_.PrintJobTitle());
        device_->BeginJob();
        directMetrics_ = device_->Metrics();
        fire(store_.OnBeginDoc);
        openDirectPage();
    } catch (...) {
        stopDirectPrinting();
        throw;
    }
}

void TStorePrinter::stopDirectPrinting() {
    directCanvas_.reset();
    if (!directPrinting_) return;
    directPrinting_ = false;
    cancelJob();
    store_.LeaveState(true);
}

void TStorePrinter::openDirectPage() {
    const PrinterMetrics& m = directMetrics_;
    const int dpiX = m.dpiX > 0 ? m.dpiX : 600;
    const int dpiY = m.dpiY > 0 ? m.dpiY : 600;
    const emf::Size pixels{store_.ConvertUnits(store_.PaperWidth(), dpiX, store_.Units(), mmPixel),
                           store_.ConvertUnits(store_.PaperHeight(), dpiY, store_.Units(), mmPixel)};
    emf::ReferenceDevice printer;
    printer.pixels = {std::max(m.physicalWidth, 1), std::max(m.physicalHeight, 1)};
    printer.micrometers = {emf::mulDiv(printer.pixels.cx, 25400, dpiX),
                           emf::mulDiv(printer.pixels.cy, 25400, dpiY)};
    printer.millimeters = {printer.micrometers.cx / 1000, printer.micrometers.cy / 1000};
    const emf::Rect frame{0, 0, emf::mulDiv(pixels.cx, 2540, dpiX), emf::mulDiv(pixels.cy, 2540, dpiY)};
    directCanvas_ = std::make_unique<emf::Canvas>(frame, printer);
    directCanvas_->setFont(store_.Font());
    // One logical unit is one unit of Units; (0, 0) is the paper's corner.
    directCanvas_->setMapping({store_.PaperWidth(), store_.PaperHeight()}, pixels, {0, 0});
    emf::Font font = directCanvas_->font();
    if (pixels.cy > 0) font.setPixelsPerInchKeepingSize(emf::mulDiv(dpiY, store_.PaperHeight(), pixels.cy));
    directCanvas_->setFont(font);
    fire(store_.OnNewPage);
}

void TStorePrinter::finishDirectPage() {
    fire(store_.OnEndPage);
    ++directPages_;
    std::unique_ptr<emf::Canvas> canvas = std::move(directCanvas_);
    if (!canvas) return;
    const std::vector<std::uint8_t> page = canvas->finish();
    device_->DrawPage(page, paperTargetOnPrinter(directMetrics_),
                      (store_.Grayscale() & gsPrint) != 0);
}

void TStorePrinter::NewPage() {
    if (!directPrinting_) return store_.NewPage();
    try {
        finishDirectPage();
        device_->NewJobPage();
        openDirectPage();
    } catch (...) {
        stopDirectPrinting();
        throw;
    }
}

void TStorePrinter::EndDoc() {
    if (!directPrinting_) return store_.EndDoc();
    try {
        finishDirectPage();
        device_->EndJob();
    } catch (...) {
        stopDirectPrinting();
        throw;
    }
    directPrinting_ = false;
    directPrint_ = false;
    fire(store_.OnEndDoc);
    store_.LeaveState();
}

emf::Canvas* TStorePrinter::Canvas() {
    return directPrinting_ ? directCanvas_.get() : store_.Canvas();
}

int TStorePrinter::TotalPages() const {
    return directPrinting_ ? directPages_ : store_.TotalPages();
}

// --- Printer set-up -------------------------------------------------------------------

void TStorePrinter::ReadPrinterSetup() {
    if (!PrinterInstalled()) return;
    const PrinterSettings s = device_->Settings();
    if (s.orientation == 1) store_.SetOrientation(poPortrait);
    if (s.orientation == 2) store_.SetOrientation(poLandscape);
    TPaperType type = pCustom;
    if (s.paperNumber) type = paperTypeForNumber(*s.paperNumber).value_or(pCustom);
    store_.SetPaperType(type);
    if (store_.PaperType() == pCustom) {
        // The sheet's size as the printer reports it, already oriented.
        const PrinterMetrics m = device_->Metrics();
        store_.SetPaperSize(store_.ConvertUnits(m.physicalWidth, m.dpiX, mmPixel, store_.Units()),
                            store_.ConvertUnits(m.physicalHeight, m.dpiY, mmPixel, store_.Units()));
    }
    if (s.formName) {
        formName_ = limitFormName(*s.formName);
        formPaper_ = portraitSizeLoMetric();
    }
}

void TStorePrinter::WritePrinterSetup() {
    if (!PrinterInstalled()) return;
    PrinterSettings s = device_->Settings();
    s.paperNumber.reset();
    s.paperLength.reset();
    s.paperWidth.reset();
    s.formName.reset();
    const std::string form = FormName();
    if (!form.empty()) s.formName = limitFormName(form);
    if (store_.PaperType() == pCustom) {
        const auto [width, length] = portraitSizeLoMetric();
        s.paperNumber = UserDefinedPaper;
        s.paperWidth = width;
        s.paperLength = length;
    } else {
        s.paperNumber = paperSize(store_.PaperType()).paperNumber;
    }
    s.orientation = store_.Orientation() == poLandscape ? 2 : 1;
    device_->ApplySettings(s);
}

std::pair<int, int> TStorePrinter::portraitSizeLoMetric() const {
    int w = store_.ConvertX(store_.PaperWidth(), store_.Units(), mmLoMetric);
    int h = store_.ConvertY(store_.PaperHeight(), store_.Units(), mmLoMetric);
    if (store_.Orientation() == poLandscape) std::swap(w, h);
    return {w, h};
}

// --- Forms ----------------------------------------------------------------------------

bool TStorePrinter::GetFormNames(std::vector<std::string>& names) const {
    names.clear();
    if (!PrinterInstalled()) return false;
    const auto forms = device_->Forms();
    if (!forms) return false;
    for (const PrinterForm& f : *forms)
        if (f.width > MinimumFormSize && f.height > MinimumFormSize) names.push_back(f.name);
    return true;
}

std::string TStorePrinter::FormName() {
    const auto paper = portraitSizeLoMetric();
    if (!formName_.empty() && formPaper_ != paper) formName_.clear();
    if (formName_.empty() && PrinterInstalled()) {
        if (const auto forms = device_->Forms()) {
            for (const PrinterForm& f : *forms) {
                if (f.width / 100 == paper.first && f.height / 100 == paper.second) {
                    formName_ = f.name;
                    break;
                }
            }
        }
        formPaper_ = paper;
        ensureForm();
    }
    return formName_;
}

void TStorePrinter::ensureForm() {
    if (!ownForm_.empty() && sameNameIgnoringCase(formName_, ownForm_)) deleteForm(ownForm_, true);
    if (!formName_.empty()) return;
    const auto [width, height] = portraitSizeLoMetric();
    char name[64];
    std::snprintf(name, sizeof name, "%umm x %umm", unsigned(width / 10), unsigned(height / 10));
    const PrinterForm form{name, width * 100, height * 100};
    // The printer keeps one form of the store's at a time.
    if (!ownForm_.empty()) deleteForm(ownForm_, true);
    if (!device_->AddForm(form)) return;
    formName_ = form.name;
    formPaper_ = {width, height};
    ownForm_ = form.name;
    if (OnAutoCustomForm) OnAutoCustomForm(store_, ownForm_, opInsert);
}

void TStorePrinter::deleteForm(const std::string& name, bool notify) {
    if (!device_->DeleteForm(name)) return;
    if (sameNameIgnoringCase(name, formName_)) formName_.clear();
    if (sameNameIgnoringCase(name, ownForm_)) {
        const std::string removed = ownForm_;
        ownForm_.clear();
        if (notify && OnAutoCustomForm) OnAutoCustomForm(store_, removed, opRemove);
    }
}

void TStorePrinter::SetFormName(const std::string& name) {
    if (sameNameIgnoringCase(name, formName_) || store_.State() != TPreviewState::Idle) return;
    if (!PrinterInstalled()) return;
    const auto forms = device_->Forms();
    if (!forms) return;
    const auto form = std::find_if(forms->begin(), forms->end(), [&](const PrinterForm& f) {
        return sameNameIgnoringCase(f.name, name);
    });
    if (form == forms->end() || form->width == 0 || form->height == 0) return;
    const int width = store_.ConvertX(form->width / 10, mmHiMetric, store_.Units());
    const int height = store_.ConvertY(form->height / 10, mmHiMetric, store_.Units());
    if (store_.Orientation() == poLandscape)
        store_.SetPaperSize(height, width);
    else
        store_.SetPaperSize(width, height);
    formName_ = form->name;
    formPaper_ = portraitSizeLoMetric();
}

}  // namespace zor::pagestore
