#pragma once
// The page store: hands out a canvas per page, records each finished page as an
// enhanced metafile in its page list, and writes and reads the report file.
//
// Report file (all integers 32-bit little-endian): header mark 0x13490208,
// orientation, paper type, paper width and height in 0.01 mm, then the page
// list: mark "K-PP", page count N, N offsets relative to the page data, and the
// page images back to back.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emf/canvas.h"
#include "pagestore/metafile_list.h"
#include "pagestore/paper.h"
#include "pagestore/preview_layout.h"
#include "pagestore/printer.h"
#include "pagestore/units.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_export.h"

namespace zor::pagestore {

enum TPrinterOrientation { poPortrait = 0, poLandscape = 1 };

enum class TPreviewState { Idle, Composing, Printing, Exporting };

enum TGrayscaleOption { gsPreview = 1, gsPrint = 2 };  // bit flags

enum TOperation { opInsert, opRemove };

// The largest report file that is read. A real report (three pages with their
// pictures) takes about 1 MB; the limit leaves room for far larger ones while a
// huge file is refused before anything of it is read.
inline constexpr std::int64_t MaxReportFileSize = std::int64_t(64) << 20;

class TPrintPreview {
  public:
    using Event = std::function<void(TPrintPreview& sender)>;
    using ProgressEvent =
        std::function<void(TPrintPreview& sender, int pageNo, int progress, bool& abortIt)>;
    using FormEvent = std::function<void(TPrintPreview& sender, const std::string& customFormName,
                                         TOperation operation)>;
    // Draws an overlay or underlay of page pageNo on a canvas made as a new page.
    using PageEvent = std::function<void(TPrintPreview& sender, int pageNo, emf::Canvas& canvas)>;

    // The screen's horizontal and vertical dots per inch: the reference device of
    // the page images and the resolution of mmPixel on screen.
    explicit TPrintPreview(int screenDpiX = 96, int screenDpiY = 96);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    // --- Settings ---------------------------------------------------------------
    TUnits Units() const { return units_; }
    void SetUnits(TUnits units);
    TPaperType PaperType() const { return paperType_; }
    void SetPaperType(TPaperType type);
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    int PaperWidth() const { return paperWidth_; }
    int PaperHeight() const { return paperHeight_; }
    void SetPaperWidth(int width) { SetPaperSize(width, paperHeight_); }
    void SetPaperHeight(int height) { SetPaperSize(paperWidth_, height); }
    // Each value is forced into 1 .. 32767; the paper type follows the size.
    void SetPaperSize(int width, int height);
    const std::string& PrintJobTitle() const { return printJobTitle_; }
    void SetPrintJobTitle(std::string title) { printJobTitle_ = std::move(title); }
    bool DirectPrint() const { return directPrint_; }
    // Composing straight onto the printer (needs an installed printer).
    void SetDirectPrint(bool value) { directPrint_ = value; }
    bool UsePrinterOptions() const { return usePrinterOptions_; }
    void SetUsePrinterOptions(bool value) { usePrinterOptions_ = value; }
    bool UseTempFile() const { return pages_.UseTempFile(); }
    void SetUseTempFile(bool value) { pages_.SetUseTempFile(value); }
    // The temporary file holding the pages while UseTempFile is on and pages exist.
    std::optional<std::filesystem::path> TempFileName() const { return pages_.TempFileName(); }
    unsigned Grayscale() const { return grayscale_; }  // TGrayscaleOption flags
    void SetGrayscale(unsigned options) { grayscale_ = options; }
    // The font every new page canvas starts with.
    const emf::Font& Font() const { return font_; }
    void SetFont(const emf::Font& font) { font_ = font; }

    // --- Display settings (the on-screen display shows the store through them) ----
    // Zoom, zoom state, margins and scroll positions of the display.
    PreviewLayout& Display() { return display_; }
    const PreviewLayout& Display() const { return display_; }

    // --- Composing --------------------------------------------------------------
    TPreviewState State() const { return state_; }
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Aborted() const { return aborted_; }
    // The canvas of the open page; nullptr when no page is open.
    emf::Canvas* Canvas() { return canvas_.get(); }
    emf::Rect PageBounds() const { return {0, 0, paperWidth_, paperHeight_}; }
    // Draws picture into box on the open page and returns the rectangle drawn.
    emf::Rect PaintGraphic(const emf::Rect& box, const emf::Bitmap& picture, bool center,
                           bool shrinkOnly, bool keepAspect);

    // --- Units ------------------------------------------------------------------
    int ConvertUnits(int value, int dotsPerInch, TUnits from, TUnits to) const;
    int ConvertX(int value, TUnits from, TUnits to) const;
    int ConvertY(int value, TUnits from, TUnits to) const;
    emf::Point ConvertPoint(int x, int y, TUnits from, TUnits to) const;
    // The paper in screen pixels.
    emf::Size PaperSizeInPixels() const { return paperPixels_; }
    int ScreenDpiX() const { return screenDpiX_; }
    int ScreenDpiY() const { return screenDpiY_; }

    // --- Pages ------------------------------------------------------------------
    // The stored pages; while composing straight onto the printer, the pages printed so far.
    int TotalPages() const { return directPrinting_ ? printedPages_ : pages_.Count(); }
    // The page image (EMF bytes) of page pageNo (1-based), through the page cache;
    // nullptr when out of range. Valid until the next page is fetched or the list
    // changes. Throws EInvalidPreviewData when that page's data is damaged.
    const std::vector<std::uint8_t>* GetPage(int pageNo);
    // Replaces the image of page pageNo (1-based) with a changed one.
    void UpdatePage(int pageNo, std::span<const std::uint8_t> image);
    int CurrentPage() const { return currentPage_; }
    void SetCurrentPage(int pageNo);
    void Clear();
    const TMetafileList& Pages() const { return pages_; }

    // --- Printing (the store behaves as without printer when it has none) -------
    void SetPrinter(std::shared_ptr<Printer> printer) { printer_ = std::move(printer); }
    bool PrinterInstalled() const { return printer_ && printer_->Installed(); }
    void Print() { PrintPages(1, TotalPages()); }
    // Prints stored pages first .. last (1-based).
    void PrintPages(int first, int last);
    // The printer's printable area in Units; PageBounds() without a printer.
    emf::Rect PrinterPageBounds() const;
    // Takes orientation, paper and form name from the printer.
    void ReadPrinterSetup();
    // Gives orientation, paper and form name to the printer.
    void WritePrinterSetup();
    // The names of the printer's forms larger than 0.01 mm; false without printer.
    bool GetFormNames(std::vector<std::string>& names) const;
    // The printer form matching the paper; adds one named like "210mm x 297mm"
    // when the printer has none.
    std::string FormName();
    void SetFormName(const std::string& name);

    // --- Report file ------------------------------------------------------------
    void SaveToStream(std::ostream& out) const;
    // Throws EInvalidPreviewData NotPreviewDataMessage for
    // data without the page list mark; the pages are then left as they were.
    void LoadFromStream(std::istream& in);
    // The report file's bytes: what SaveToFile writes.
    std::string ReportFileBytes() const;
    // Replaces the file whole (files::ReplaceFile); throws files::WriteError.
    void SaveToFile(const std::filesystem::path& fileName) const;
    // Throws EReportFileError for a file that cannot be opened, is no regular file
    // or is larger than MaxReportFileSize (checked before anything is read), and
    // the errors of LoadFromStream.
    void LoadFromFile(const std::filesystem::path& fileName);

    // --- PDF export -------------------------------------------------------------
    // Writes page 1 as a one-page PDF dated by `clock`, replacing the file whole.
    // Throws pdf::PdfFileInUse when an existing target cannot be written and
    // files::WriteError when the file cannot be written; a missing folder writes
    // nothing and reports nothing. The PDF writer's refusals arrive as
    // EPdfExportError. Nothing is written without pages.
    void SaveAsPDF(const std::filesystem::path& fileName, const pdf::PdfClock& clock);
    // The bytes SaveAsPDF writes; nothing without pages.
    std::optional<std::string> PdfBytes(const pdf::PdfClock& clock);
    // The PDF writer is built in, so a store can always export.
    bool CanSaveAsPDF() const { return true; }

    // --- Events -----------------------------------------------------------------
    Event OnBeginDoc, OnNewPage, OnEndPage, OnEndDoc, OnAbort, OnChange, OnZoomChange;
    // The annotation drawn over and the background drawn under the shown page.
    PageEvent OnAnnotation, OnBackground;
    // For the store's on-screen display: the pages or the current page changed.
    // Runs before OnChange, so the owner's handler finds the display laid out.
    std::function<void()> OnDisplayChange;
    Event OnBeforePrint, OnAfterPrint;
    ProgressEvent OnPrintProgress;
    FormEvent OnAutoCustomForm;

  private:
    struct PdfSetup {
        pdf::PdfDocumentInfo info;
        pdf::PdfPaper paper;
    };
    PdfSetup pdfSetup(const pdf::PdfClock& clock) const;
    template <typename Export>
    void exporting(Export&& run);
    void recomputePaperPixels();
    void sizeFromTable();
    void openPage();
    void finishPage();
    void setUpCanvas();
    void listChanged(ListChange change);
    emf::Rect printTarget() const;
    void reportProgress(int pageNo, int done, int total);
    void endPrinting(bool completed);
    void beginDirectPrint();
    void printOpenPage();
    // Ends a print job that failed part-way and returns the store to idle.
    void abandonPrintJob();
    void deleteForm(const std::string& name, bool destroying);
    void fire(const Event& e) {
        if (e) e(*this);
    }
    void changed() {
        if (OnDisplayChange) OnDisplayChange();
        fire(OnChange);
    }

    int screenDpiX_;
    int screenDpiY_;
    TUnits units_ = mmHiMetric;
    TPaperType paperType_ = pA4;
    TPrinterOrientation orientation_ = poPortrait;
    int paperWidth_ = 21000;
    int paperHeight_ = 29700;
    emf::Size paperPixels_;
    std::string printJobTitle_;
    bool usePrinterOptions_ = false;
    bool directPrint_ = false;
    unsigned grayscale_ = 0;
    emf::Font font_;

    TPreviewState state_ = TPreviewState::Idle;
    bool aborted_ = false;
    std::unique_ptr<emf::Canvas> canvas_;
    int currentPage_ = 0;
    TMetafileList pages_;

    std::shared_ptr<Printer> printer_;
    std::string formName_;  // the printer form matching the paper
    std::string ownForm_;   // the form the store added to the printer itself
    bool directPrinting_ = false;
    int printedPages_ = 0;
    PreviewLayout display_;
};

}  // namespace zor::pagestore
