// Printing of the page store: stored pages, composing straight onto the printer,
// the exchange of paper and orientation with the printer, and its paper forms.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "emf/mul_div.h"
#include "pagestore/print_preview.h"

namespace zor::pagestore {
namespace {

constexpr int UserDefinedPaper = 256;
constexpr std::size_t FormNameLength = 32;

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

emf::Rect TPrintPreview::PrinterPageBounds() const {
    if (!PrinterInstalled()) return PageBounds();
    const PrinterDevice d = printer_->Device();
    auto x = [&](int v) { return ConvertUnits(v, d.dpiX, mmPixel, units_); };
    auto y = [&](int v) { return ConvertUnits(v, d.dpiY, mmPixel, units_); };
    return {x(d.physicalOffset.x), y(d.physicalOffset.y),
            x(d.physicalOffset.x + d.printableArea.cx), y(d.physicalOffset.y + d.printableArea.cy)};
}

emf::Rect TPrintPreview::printTarget() const {
    const PrinterDevice d = printer_->Device();
    emf::Rect target{0, 0, d.physicalPage.cx, d.physicalPage.cy};
    if (!usePrinterOptions_)
        target = {0, 0, ConvertUnits(paperWidth_, d.dpiX, units_, mmPixel),
                  ConvertUnits(paperHeight_, d.dpiY, units_, mmPixel)};
    // The paper's corner lands on the sheet's corner, not on the printable area's.
    target.left -= d.physicalOffset.x;
    target.right -= d.physicalOffset.x;
    target.top -= d.physicalOffset.y;
    target.bottom -= d.physicalOffset.y;
    return target;
}

void TPrintPreview::reportProgress(int pageNo, int done, int total) {
    if (aborted_) return;
    bool abortIt = false;
    if (OnPrintProgress) OnPrintProgress(*this, pageNo, emf::mulDiv(100, done, total), abortIt);
    if (abortIt) Abort();
}

void TPrintPreview::PrintPages(int first, int last) {
    if (state_ != TPreviewState::Idle || !PrinterInstalled() || TotalPages() < 1) return;
    // Only stored pages can be printed: the range is kept inside them.
    first = std::max(first, 1);
    last = std::min(last, TotalPages());
    if (last < first) return;
    aborted_ = false;
    state_ = TPreviewState::Printing;
    bool completed = false;
    try {
        fire(OnBeforePrint);
        if (!usePrinterOptions_) WritePrinterSetup();
        printer_->SetJobTitle(printJobTitle_);
        printer_->BeginJob();
        if (!usePrinterOptions_) printer_->RefreshDeviceContext();
        const emf::Rect target = printTarget();
        const int total = last - first + 1;
        for (int i = first; i <= last && !aborted_; ++i) {
            reportProgress(i, i - first, total);
            if (!aborted_) printer_->DrawPicture(pages_.Get(i - 1), target, grayscale_ & gsPrint);
            reportProgress(i, i - first + 1, total);
            if (!aborted_) {
                if (i < last)
                    printer_->NewJobPage();
                else
                    completed = true;
            }
        }
    } catch (...) {
        endPrinting(completed);
        throw;
    }
    endPrinting(completed);
}

void TPrintPreview::endPrinting(bool completed) {
    if (!completed) aborted_ = true;
    if (!completed && printer_->JobPrinting() && !printer_->JobAborted()) printer_->AbortJob();
    if (printer_->JobPrinting()) printer_->EndJob();
    printer_->SetJobTitle("");
    fire(OnAfterPrint);
    state_ = TPreviewState::Idle;
}

// --- Composing straight onto the printer -------------------------------------------

void TPrintPreview::beginDirectPrint() {
    aborted_ = false;
    printedPages_ = 0;
    if (usePrinterOptions_)
        ReadPrinterSetup();
    else
        WritePrinterSetup();
    state_ = TPreviewState::Printing;
    directPrinting_ = true;
    try {
        printer_->SetJobTitle(printJobTitle_);
        printer_->BeginJob();
        recomputePaperPixels();
        fire(OnBeginDoc);
        openPage();
    } catch (...) {
        abandonPrintJob();
        throw;
    }
}

void TPrintPreview::abandonPrintJob() {
    if (printer_->JobPrinting()) printer_->AbortJob();
    canvas_.reset();
    directPrinting_ = false;
    state_ = TPreviewState::Idle;
}

// The open page is recorded like a stored page and handed to the printer whole.
void TPrintPreview::printOpenPage() {
    std::unique_ptr<emf::Canvas> canvas = std::move(canvas_);
    if (!canvas) return;
    const std::vector<std::uint8_t> picture = canvas->finish();
    printer_->DrawPicture(picture, printTarget(), grayscale_ & gsPrint);
}

// --- Paper and orientation ---------------------------------------------------------

void TPrintPreview::ReadPrinterSetup() {
    if (!PrinterInstalled()) return;
    const PrinterSettings settings = printer_->ReadSettings();
    if (settings.orientation == 1) SetOrientation(poPortrait);
    if (settings.orientation == 2) SetOrientation(poLandscape);
    if (settings.paperNumber)
        SetPaperType(paperTypeForNumber(*settings.paperNumber).value_or(pCustom));
    else
        SetPaperType(pCustom);
    if (paperType_ == pCustom) {
        // The sheet as the printer's drawing context has it, already oriented.
        const PrinterDevice d = printer_->Device();
        SetPaperSize(ConvertUnits(d.physicalPage.cx, d.dpiX, mmPixel, units_),
                     ConvertUnits(d.physicalPage.cy, d.dpiY, mmPixel, units_));
    }
    if (settings.formName) formName_ = settings.formName->substr(0, FormNameLength);
}

void TPrintPreview::WritePrinterSetup() {
    if (!PrinterInstalled()) return;
    PrinterSettings settings = printer_->ReadSettings();
    settings.paperNumber.reset();
    settings.paperLength.reset();
    settings.paperWidth.reset();
    settings.formName.reset();
    const std::string form = FormName();
    if (!form.empty()) settings.formName = form.substr(0, FormNameLength);
    if (paperType_ == pCustom) {
        int w = ConvertX(paperWidth_, units_, mmLoMetric);
        int h = ConvertY(paperHeight_, units_, mmLoMetric);
        if (orientation_ == poLandscape) std::swap(w, h);
        settings.paperNumber = UserDefinedPaper;
        settings.paperWidth = w;
        settings.paperLength = h;
    } else {
        settings.paperNumber = paperSize(paperType_).paperNumber;
    }
    settings.orientation = orientation_ == poLandscape ? 2 : 1;
    printer_->ApplySettings(settings);
}

// --- Forms ---------------------------------------------------------------------------

bool TPrintPreview::GetFormNames(std::vector<std::string>& names) const {
    names.clear();
    if (!PrinterInstalled()) return false;
    const auto forms = printer_->Forms();
    if (!forms) return false;
    for (const PrinterForm& form : *forms)
        if (form.width > 10 && form.height > 10) names.push_back(form.name);
    return true;
}

std::string TPrintPreview::FormName() {
    if (formName_.empty() && PrinterInstalled()) {
        int w = ConvertX(paperWidth_, units_, mmLoMetric);
        int h = ConvertY(paperHeight_, units_, mmLoMetric);
        if (orientation_ == poLandscape) std::swap(w, h);
        if (const auto forms = printer_->Forms()) {
            for (const PrinterForm& form : *forms) {
                if (form.width / 100 == w && form.height / 100 == h) {
                    formName_ = form.name;
                    break;
                }
            }
        }
        // A form the store added for an earlier paper goes before one is added
        // for this paper, so that the printer does not collect them.
        if (!ownForm_.empty() && !sameName(formName_, ownForm_)) deleteForm(ownForm_, false);
        if (formName_.empty()) {
            char name[64];
            std::snprintf(name, sizeof name, "%umm x %umm", unsigned(std::max(w, 0) / 10),
                          unsigned(std::max(h, 0) / 10));
            if (printer_->AddForm(PrinterForm{name, w * 100, h * 100})) {
                formName_ = name;
                ownForm_ = name;
                if (OnAutoCustomForm) OnAutoCustomForm(*this, ownForm_, opInsert);
            }
        }
    }
    return formName_;
}

void TPrintPreview::deleteForm(const std::string& name, bool destroying) {
    const std::string deleted = name;  // name may be one of the members emptied below
    if (!printer_->DeleteForm(deleted)) return;
    if (sameName(deleted, formName_)) formName_.clear();
    if (sameName(deleted, ownForm_)) {
        ownForm_.clear();
        if (!destroying && OnAutoCustomForm) OnAutoCustomForm(*this, deleted, opRemove);
    }
}

void TPrintPreview::SetFormName(const std::string& name) {
    if (sameName(name, formName_) || state_ != TPreviewState::Idle || !PrinterInstalled()) return;
    const auto forms = printer_->Forms();
    if (!forms) return;
    const auto form = std::find_if(forms->begin(), forms->end(),
                                   [&](const PrinterForm& f) { return sameName(f.name, name); });
    if (form == forms->end() || form->width == 0 || form->height == 0) return;
    const int w = ConvertX(form->width / 10, mmHiMetric, units_);
    const int h = ConvertY(form->height / 10, mmHiMetric, units_);
    if (orientation_ == poPortrait)
        SetPaperSize(w, h);
    else
        SetPaperSize(h, w);
    // After the size, which forgets the previous form.
    formName_ = name;
}

}  // namespace zor::pagestore
