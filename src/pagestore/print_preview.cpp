#include "pagestore/print_preview.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>
#include <utility>

#include "emf/mul_div.h"
#include "files/atomic_file.h"
#include "files/read_file.h"
#include "pagestore/errors.h"
#include "pagestore/stream_io.h"

namespace zor::pagestore {
namespace {

constexpr std::uint32_t HeaderMark = 0x13490208;
constexpr int MaxPaperSize = 32767;

int clampPaperSize(int value) { return std::clamp(value, 1, MaxPaperSize); }

}  // namespace

TPrintPreview::TPrintPreview(int screenDpiX, int screenDpiY)
    : screenDpiX_(screenDpiX > 0 ? screenDpiX : 96), screenDpiY_(screenDpiY > 0 ? screenDpiY : 96) {
    font_.pixelsPerInch = screenDpiY_;
    font_.setSize(8);
    pages_.OnChange = [this](ListChange change) { listChanged(change); };
    pages_.OnPageRewritten = [this](int) { changed(); };
    display_.OnZoomChange = [this] { fire(OnZoomChange); };
    display_.OnPageMove = [this](PageMove move) { MovePage(*this, move); };
    recomputePaperPixels();
}

TPrintPreview::~TPrintPreview() {
    if (!ownForm_.empty() && PrinterInstalled()) {
        try {
            deleteForm(ownForm_, true);
        } catch (...) {
            // A printer that fails here cannot be helped; the store goes anyway.
        }
    }
    pages_.OnChange = nullptr;
    pages_.OnPageRewritten = nullptr;
}

// --- Units --------------------------------------------------------------------

int TPrintPreview::ConvertUnits(int value, int dotsPerInch, TUnits from, TUnits to) const {
    return convertUnits(value, dotsPerInch, from, to, screenDpiY_);
}

int TPrintPreview::ConvertX(int value, TUnits from, TUnits to) const {
    return convertUnits(value, screenDpiX_, from, to, screenDpiX_);
}

int TPrintPreview::ConvertY(int value, TUnits from, TUnits to) const {
    return convertUnits(value, screenDpiY_, from, to, screenDpiY_);
}

emf::Point TPrintPreview::ConvertPoint(int x, int y, TUnits from, TUnits to) const {
    return {ConvertX(x, from, to), ConvertY(y, from, to)};
}

void TPrintPreview::recomputePaperPixels() {
    paperPixels_ = {ConvertX(paperWidth_, units_, mmPixel),
                    ConvertY(paperHeight_, units_, mmPixel)};
}

// --- Paper settings -------------------------------------------------------------

void TPrintPreview::sizeFromTable() {
    const PaperSize& row = paperSize(paperType_);
    int w = ConvertX(row.width, row.unit, units_);
    int h = ConvertY(row.height, row.unit, units_);
    if (orientation_ == poLandscape) std::swap(w, h);
    paperWidth_ = w;
    paperHeight_ = h;
}

void TPrintPreview::SetPaperType(TPaperType type) {
    if (type == paperType_ || state_ != TPreviewState::Idle) return;
    if (type < 0 || type >= PaperTypeCount) return;
    paperType_ = type;
    formName_.clear();
    if (type != pCustom) sizeFromTable();
    recomputePaperPixels();
}

void TPrintPreview::SetOrientation(TPrinterOrientation orientation) {
    if (orientation == orientation_ || state_ != TPreviewState::Idle) return;
    orientation_ = orientation;
    std::swap(paperWidth_, paperHeight_);
    recomputePaperPixels();
}

void TPrintPreview::SetPaperSize(int width, int height) {
    width = clampPaperSize(width);
    height = clampPaperSize(height);
    if ((width == paperWidth_ && height == paperHeight_) || state_ != TPreviewState::Idle) return;
    paperWidth_ = width;
    paperHeight_ = height;
    int w = width, h = height;
    if (orientation_ == poLandscape) std::swap(w, h);
    paperType_ = matchPaperType(w, h, units_, screenDpiX_);
    formName_.clear();
    recomputePaperPixels();
}

void TPrintPreview::SetUnits(TUnits units) {
    if (units == units_) return;
    const TUnits old = units_;
    units_ = units;
    if (paperType_ == pCustom) {
        paperWidth_ = clampPaperSize(ConvertX(paperWidth_, old, units));
        paperHeight_ = clampPaperSize(ConvertY(paperHeight_, old, units));
    } else {
        sizeFromTable();
    }
    recomputePaperPixels();
    if (canvas_) {
        emf::Pen pen = canvas_->pen();
        pen.width = ConvertX(pen.width, old, units);
        canvas_->setPen(pen);
        setUpCanvas();
    }
}

// --- Composing ----------------------------------------------------------------

void TPrintPreview::setUpCanvas() {
    // One logical unit is one unit of Units on both axes; logical (0, 0) is the
    // paper's top-left corner.
    canvas_->setMapping({paperWidth_, paperHeight_}, paperPixels_, {0, 0});
    // Font sizes in points come out at their true size in logical units.
    emf::Font font = canvas_->font();
    font.setPixelsPerInchKeepingSize(emf::mulDiv(screenDpiY_, paperHeight_, paperPixels_.cy));
    canvas_->setFont(font);
}

void TPrintPreview::openPage() {
    const emf::Rect frame{0, 0, emf::mulDiv(paperPixels_.cx, 2540, screenDpiX_),
                          emf::mulDiv(paperPixels_.cy, 2540, screenDpiY_)};
    try {
        canvas_ = std::make_unique<emf::Canvas>(frame, emf::ReferenceDevice::screen(screenDpiY_));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    canvas_->setFont(font_);
    setUpCanvas();
    fire(OnNewPage);
}

void TPrintPreview::finishPage() {
    fire(OnEndPage);
    std::unique_ptr<emf::Canvas> canvas = std::move(canvas_);
    if (!canvas) throw EOutOfMemory();
    const std::vector<std::uint8_t> image = canvas->finish();
    pages_.Add(image);
}

void TPrintPreview::BeginDoc() {
    if (state_ != TPreviewState::Idle) return;
    if (directPrint_ && PrinterInstalled()) {
        beginDirectPrint();
        return;
    }
    canvas_.reset();
    aborted_ = false;
    pages_.Clear();
    if (usePrinterOptions_) ReadPrinterSetup();
    state_ = TPreviewState::Composing;
    recomputePaperPixels();
    fire(OnBeginDoc);
    openPage();
}

void TPrintPreview::NewPage() {
    if (directPrinting_) {
        fire(OnEndPage);
        ++printedPages_;
        printOpenPage();
        printer_->NewJobPage();
        openPage();
        return;
    }
    if (state_ != TPreviewState::Composing) return;
    if (canvas_) finishPage();
    openPage();
}

void TPrintPreview::EndDoc() {
    if (directPrinting_) {
        // Whatever happens, the job is closed and the store returns to Idle.
        try {
            fire(OnEndPage);
            ++printedPages_;
            printOpenPage();
            printer_->EndJob();
        } catch (...) {
            abandonPrintJob();
            throw;
        }
        directPrinting_ = false;
        fire(OnEndDoc);
        state_ = TPreviewState::Idle;
        return;
    }
    if (state_ != TPreviewState::Composing) return;
    // The store returns to Idle even when the last page cannot be stored.
    struct BackToIdle {
        TPreviewState& state;
        ~BackToIdle() { state = TPreviewState::Idle; }
    } idle{state_};
    if (canvas_) finishPage();
    fire(OnEndDoc);
}

void TPrintPreview::Abort() {
    if (aborted_ || state_ == TPreviewState::Idle) return;
    aborted_ = true;
    if (state_ == TPreviewState::Composing) {
        canvas_.reset();
        pages_.Clear();
    } else if (state_ == TPreviewState::Printing) {
        if (printer_ && printer_->JobPrinting() && !printer_->JobAborted()) printer_->AbortJob();
        if (directPrinting_) {
            canvas_.reset();
            directPrinting_ = false;
        }
    }
    fire(OnAbort);
    state_ = TPreviewState::Idle;
}

emf::Rect TPrintPreview::PaintGraphic(const emf::Rect& box, const emf::Bitmap& picture, bool center,
                                      bool shrinkOnly, bool keepAspect) {
    if (!canvas_) throw std::logic_error("no page is open to draw on");
    int w = ConvertX(picture.width, mmPixel, units_);
    int h = ConvertY(picture.height, mmPixel, units_);
    const int boxW = box.width();
    const int boxH = box.height();
    if (!shrinkOnly || w > boxW || h > boxH) {
        if (!keepAspect || w <= 0 || h <= 0) {
            w = boxW;
            h = boxH;
        } else if (std::int64_t(boxH) * w > std::int64_t(h) * boxW) {
            // The box is relatively taller than the picture: fill its width.
            h = emf::mulDiv(h, boxW, w);
            w = boxW;
        } else {
            w = emf::mulDiv(w, boxH, h);
            h = boxH;
        }
    }
    int left = box.left, top = box.top;
    if (center) {
        left += (boxW - w) / 2;
        top += (boxH - h) / 2;
    }
    const emf::Rect drawn{left, top, left + w, top + h};
    if (picture.width > 0 && picture.height > 0) canvas_->stretchDraw(drawn, picture);
    return drawn;
}

// --- Pages ----------------------------------------------------------------------

const std::vector<std::uint8_t>* TPrintPreview::GetPage(int pageNo) {
    if (pageNo < 1 || pageNo > TotalPages()) return nullptr;
    return &pages_.Get(pageNo - 1);
}

void TPrintPreview::UpdatePage(int pageNo, std::span<const std::uint8_t> image) {
    if (pageNo < 1 || pageNo > TotalPages()) throw std::out_of_range("no such page");
    pages_.Rewrite(pageNo - 1, image);
}

void TPrintPreview::SetCurrentPage(int pageNo) {
    const int clamped = TotalPages() == 0 ? 0 : std::clamp(pageNo, 1, TotalPages());
    if (clamped == currentPage_) return;
    currentPage_ = clamped;
    changed();
}

void TPrintPreview::Clear() { pages_.Clear(); }

void TPrintPreview::listChanged(ListChange change) {
    const int total = TotalPages();
    if (total == 0)
        currentPage_ = 0;
    else if (change != ListChange::Added || currentPage_ == 0)
        currentPage_ = 1;
    changed();
}

// --- Report file ----------------------------------------------------------------

void TPrintPreview::SaveToStream(std::ostream& out) const {
    writeU32(out, HeaderMark);
    writeU32(out, std::uint32_t(orientation_));
    writeU32(out, std::uint32_t(paperType_));
    writeU32(out, std::uint32_t(ConvertX(paperWidth_, units_, mmHiMetric)));
    writeU32(out, std::uint32_t(ConvertY(paperHeight_, units_, mmHiMetric)));
    pages_.SaveToStream(out);
}

void TPrintPreview::LoadFromStream(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    const auto mark = readU32(in);
    if (mark && *mark == HeaderMark) {
        const auto orientation = readU32(in);
        const auto type = readU32(in);
        const auto width = readU32(in);
        const auto height = readU32(in);
        if (!orientation || !type || !width || !height)
            throw EInvalidPreviewData("Het rapportbestand houdt op in de papiergegevens.");
        const unsigned orientationByte = *orientation & 0xFF;
        const unsigned typeByte = *type & 0xFF;
        if (orientationByte > poLandscape || typeByte >= unsigned(PaperTypeCount))
            throw EInvalidPreviewData(NotPreviewDataMessage);
        orientation_ = TPrinterOrientation(orientationByte);
        paperType_ = TPaperType(typeByte);
        paperWidth_ = clampPaperSize(ConvertX(std::int32_t(*width), mmHiMetric, units_));
        paperHeight_ = clampPaperSize(ConvertY(std::int32_t(*height), mmHiMetric, units_));
        recomputePaperPixels();
    } else {
        // A page list without the paper header: the paper settings stay.
        in.clear();
        in.seekg(start);
    }
    pages_.LoadFromStream(in);
}

std::string TPrintPreview::ReportFileBytes() const {
    std::ostringstream out;
    SaveToStream(out);
    return std::move(out).str();
}

void TPrintPreview::SaveToFile(const std::filesystem::path& fileName) const {
    files::ReplaceFile(fileName, ReportFileBytes());
}

void TPrintPreview::LoadFromFile(const std::filesystem::path& fileName) {
    std::string bytes;
    try {
        bytes = files::ReadRegularFile(fileName, MaxReportFileSize,
                                       "Het bestand is te groot voor een rapportbestand.");
    } catch (const files::ReadError& e) {
        throw EReportFileError(fileName, e.what());
    }
    std::istringstream in(std::move(bytes));
    LoadFromStream(in);
}

}  // namespace zor::pagestore
