#pragma once

// A PDF 1.3 document held in memory: catalog, information dictionary, page tree, pages with
// their content streams, fonts and images; written to a stream or file in one pass.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_canvas.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_objects.h"

namespace zor::pdf {

// A moment as the document records it (local time, no time zone).
struct PdfDate {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "D:" followed by year, month, day, hour, minute and second: 16 characters.
std::string pdfDateText(const PdfDate& date);

// Supplies the current moment: the creation date when a document is started and the
// modification date when it is saved.
using PdfClock = std::function<PdfDate()>;

enum class PaperKind { A4, A5, A3, Letter, Legal, UserDefined };

struct PdfPage {
    int width = 0;  // points, as in /MediaBox
    int height = 0;
    std::shared_ptr<PdfDictionary> dictionary;
    std::shared_ptr<PdfDictionary> fonts;     // /Font of the page resources
    std::shared_ptr<PdfDictionary> xObjects;  // /XObject of the page resources
    std::shared_ptr<PdfStream> contents;
};

class TPdfDocument {
  public:
    static constexpr const char* kProducer = "ZOR-afnameprogramma 1.0.2.1";

    // A document with the writer's defaults, started at once.
    explicit TPdfDocument(PdfClock clock);
    TPdfDocument(const TPdfDocument&) = delete;
    TPdfDocument& operator=(const TPdfDocument&) = delete;

    // Discards any content and builds catalog, information dictionary and page tree afresh.
    void newDocument();

    // Information entries; text is given as UTF-8 and stored in the 8-bit code page.
    void setAuthor(std::string_view text) { setInfoText("Author", text); }
    void setCreator(std::string_view text) { setInfoText("Creator", text); }
    void setSubject(std::string_view text) { setInfoText("Subject", text); }
    void setTitle(std::string_view text) { setInfoText("Title", text); }
    void setCreationDate(const PdfDate& date);

    PaperKind defaultPaperKind() const { return paperKind_; }
    void setDefaultPaperKind(PaperKind kind);
    int defaultPageWidth() const { return pageWidth_; }
    int defaultPageHeight() const { return pageHeight_; }
    // Either setter makes the paper kind user-defined.
    void setDefaultPageWidth(int points);
    void setDefaultPageHeight(int points);

    bool compression() const { return compression_; }
    void setCompression(bool on) { compression_ = on; }
    // 0: bitmaps become lossless images; 1-100: they are JPEG-compressed at this quality.
    int jpegQuality() const { return jpegQuality_; }
    void setJpegQuality(int quality) { jpegQuality_ = quality; }
    // Vertical pixels per inch of the reference (screen) context; 72 / dpi points per pixel.
    // A page image that names the screen it was recorded for is replayed at that screen's.
    int referenceDpi() const { return referenceDpi_; }
    void setReferenceDpi(int dpi) { referenceDpi_ = dpi; }

    // Appends a page of the default size and binds the canvas to it.
    void addPage();
    PdfCanvas& canvas() { return canvas_; }
    const std::vector<PdfPage>& pages() const { return pages_; }

    // The WinAnsi font for a family and style, made on first use (see lookupFamily()).
    PdfFont& font(const std::string& family, bool bold, bool italic, int charset = 0);
    // The Unicode companion of a font, made on first use.
    PdfUnicodeFont& unicodeFont(PdfFont& font);
    // The installed family used for a requested one: the family itself, "Arial", "Courier New" or
    // "Times New Roman" for "Helvetica", "Courier" and "Times", else "Arial". Raises
    // PdfInvalidValue "SetFont <family>" when none of these is installed.
    static std::string lookupFamily(const std::string& family);

    // "Syn" followed by the next image number.
    std::string nextImageName();
    // Lists an image under a resource name as an indirect object.
    void registerXObject(const std::shared_ptr<PdfStream>& image, const std::string& name);
    std::shared_ptr<PdfStream> xObject(const std::string& name) const;

    void saveToStream(std::ostream& out);
    std::string saveToString();

  private:
    void setInfoText(const std::string& key, std::string_view utf8);
    std::string nextFontName();

    PdfClock clock_;
    PaperKind paperKind_ = PaperKind::A4;
    int pageWidth_ = 595;
    int pageHeight_ = 842;
    bool compression_ = true;
    int jpegQuality_ = 0;
    int referenceDpi_ = 96;

    PdfObjectTable objects_;
    std::shared_ptr<PdfDictionary> catalog_;
    std::shared_ptr<PdfDictionary> info_;
    std::shared_ptr<PdfDictionary> pageTree_;
    std::shared_ptr<PdfDictionary> trailer_;
    std::vector<PdfPage> pages_;
    std::vector<std::unique_ptr<PdfFont>> fonts_;
    int fontCount_ = 0;
    std::map<std::string, std::shared_ptr<PdfStream>> xObjects_;
    int imageCount_ = 0;
    PdfCanvas canvas_;
};

}  // namespace zor::pdf
