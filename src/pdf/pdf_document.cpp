#include "pdf/pdf_document.h"

#include <cstdio>
#include <sstream>
#include <system_error>

#include "fonts/font.h"
#include "pdf/pdf_errors.h"
#include "text/encoding.h"

namespace zor::pdf {
namespace {

struct PaperSize {
    int width;
    int height;
};

PaperSize paperSize(PaperKind kind) {
    switch (kind) {
        case PaperKind::A5:
            return {419, 595};
        case PaperKind::A3:
            return {842, 1190};
        case PaperKind::Letter:
            return {612, 792};
        case PaperKind::Legal:
            return {612, 1008};
        default:
            return {595, 842};
    }
}

std::string xrefLine(std::int64_t offset, int generation, char use) {
    char line[24];
    std::snprintf(line, sizeof line, "%010lld %05d %c\n", static_cast<long long>(offset),
                  generation, use);
    return line;
}

}  // namespace

std::string pdfDateText(const PdfDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "D:%04d%02d%02d%02d%02d%02d", d.year % 10000, d.month % 100,
                  d.day % 100, d.hour % 100, d.minute % 100, d.second % 100);
    return text;
}

TPdfDocument::TPdfDocument(PdfClock clock) : clock_(std::move(clock)), canvas_(*this) {
    newDocument();
}

void TPdfDocument::newDocument() {
    objects_.clear();
    pages_.clear();
    fonts_.clear();
    fontCount_ = 0;
    xObjects_.clear();
    imageCount_ = 0;
    canvas_.bind(nullptr);

    catalog_ = objects_.add(std::make_shared<PdfDictionary>());
    info_ = objects_.add(std::make_shared<PdfDictionary>());
    pageTree_ = objects_.add(std::make_shared<PdfDictionary>());

    catalog_->set("Type", makeName("Catalog"));
    catalog_->set("PageLayout", makeName("SinglePage"));
    catalog_->set("Pages", pageTree_);

    info_->set("Producer", makeText(kProducer));
    info_->set("CreationDate", makeText(pdfDateText(clock_())));

    pageTree_->set("Type", makeName("Pages"));
    pageTree_->set("Kids", std::make_shared<PdfArray>());
    pageTree_->set("Count", makeNumber(0));

    trailer_ = std::make_shared<PdfDictionary>();
    trailer_->set("Size", makeNumber(0));
    trailer_->set("Root", catalog_);
    trailer_->set("Info", info_);
}

void TPdfDocument::setInfoText(const std::string& key, std::string_view utf8) {
    info_->set(key, makeText(text::utf8ToCp1252(utf8)));
}

void TPdfDocument::setCreationDate(const PdfDate& date) {
    info_->set("CreationDate", makeText(pdfDateText(date)));
}

void TPdfDocument::setDefaultPaperKind(PaperKind kind) {
    paperKind_ = kind;
    if (kind != PaperKind::UserDefined) {
        auto size = paperSize(kind);
        pageWidth_ = size.width;
        pageHeight_ = size.height;
    }
}

void TPdfDocument::setDefaultPageWidth(int points) {
    pageWidth_ = points;
    paperKind_ = PaperKind::UserDefined;
}

void TPdfDocument::setDefaultPageHeight(int points) {
    pageHeight_ = points;
    paperKind_ = PaperKind::UserDefined;
}

void TPdfDocument::addPage() {
    if (!pageTree_) throw PdfInvalidOperation("AddPage");
    PdfPage page;
    page.width = pageWidth_;
    page.height = pageHeight_;
    page.dictionary = objects_.add(std::make_shared<PdfDictionary>());
    page.contents = objects_.add(std::make_shared<PdfStream>(compression_));
    page.fonts = std::make_shared<PdfDictionary>();
    page.xObjects = std::make_shared<PdfDictionary>();

    auto resources = std::make_shared<PdfDictionary>();
    resources->set("Font", page.fonts);
    resources->set("XObject", page.xObjects);
    resources->set("ProcSet", makeRaw("[/PDF /Text /ImageC ]"));

    auto& d = *page.dictionary;
    d.set("MediaBox",
          std::make_shared<PdfArray>(std::vector<PdfObjectPtr>{
              makeNumber(0), makeNumber(0), makeNumber(page.width), makeNumber(page.height)}));
    d.set("Type", makeName("Page"));
    d.set("Parent", pageTree_);
    d.set("Resources", resources);
    d.set("Contents", page.contents);

    pageTree_->getAs<PdfArray>("Kids")->add(page.dictionary);
    pages_.push_back(std::move(page));
    pageTree_->getAs<PdfNumber>("Count")->setValue(int(pages_.size()));
    canvas_.bind(&pages_.back());
}

std::string TPdfDocument::lookupFamily(const std::string& family) {
    if (fonts::isFamilyInstalled(family)) return family;
    std::string alias = family == "Helvetica" ? "Arial"
                        : family == "Courier" ? "Courier New"
                        : family == "Times"   ? "Times New Roman"
                                              : "";
    if (!alias.empty() && fonts::isFamilyInstalled(alias)) return alias;
    if (fonts::isFamilyInstalled("Arial")) return "Arial";
    throw PdfInvalidValue("SetFont " + family);
}

PdfFont& TPdfDocument::font(const std::string& family, bool bold, bool italic, int charset) {
    PdfFontKey key{lookupFamily(family), bold, italic, charset};
    for (auto& f : fonts_) {
        if (f->key() == key) return *f;
    }
    auto face = fonts::resolveFont({key.family, bold ? 700 : 400, italic});
    if (!face) throw PdfInvalidValue("SetFont " + family);
    fonts_.push_back(std::make_unique<PdfFont>(nextFontName(), key, std::move(face), objects_));
    return *fonts_.back();
}

PdfUnicodeFont& TPdfDocument::unicodeFont(PdfFont& font) {
    if (auto* companion = font.companion()) return *companion;
    return font.makeCompanion(nextFontName(), objects_);
}

std::string TPdfDocument::nextFontName() {
    std::string name = "F";
    return name.append(std::to_string(fontCount_++));
}

std::string TPdfDocument::nextImageName() {
    std::string name = "Syn";
    return name.append(std::to_string(++imageCount_));
}

void TPdfDocument::registerXObject(const std::shared_ptr<PdfStream>& image,
                                   const std::string& name) {
    if (!image) throw PdfInvalidValue("RegisterXObject: no AObject");
    auto type = image->dictionary().getAs<PdfName>("Type");
    if (!type || type->name() != "XObject") throw PdfInvalidValue("RegisterXObject: no XObject");
    if (xObjects_.contains(name)) throw PdfInvalidValue("RegisterXObject: dup name " + name);
    if (!image->dictionary().contains("Subtype")) {
        throw PdfInvalidValue("AddXObject: invalid TPdfImage " + name);
    }
    objects_.add(image);
    xObjects_.emplace(name, image);
}

std::shared_ptr<PdfStream> TPdfDocument::xObject(const std::string& name) const {
    auto it = xObjects_.find(name);
    return it == xObjects_.end() ? nullptr : it->second;
}

void TPdfDocument::saveToStream(std::ostream& stream) {
    if (!canvas_.isBound()) throw PdfInvalidOperation("TPdfDocument.Document is null");
    info_->set("ModDate", makeText(pdfDateText(clock_())));
    for (auto& f : fonts_) f->finish(objects_, compression_);

    PdfOutput out(stream);
    out << "%PDF-1.3\n";
    std::vector<std::int64_t> offsets;
    for (const auto& object : objects_.objects()) {
        offsets.push_back(out.position());
        out << std::to_string(object->objectNumber()) << " 0 obj\n";
        object->writeValue(out);
        out << "\nendobj\n";
    }

    std::int64_t xrefStart = out.position();
    int entries = int(offsets.size()) + 1;
    out << "xref\n0 " << std::to_string(entries) << "\n";
    out << xrefLine(0, 65535, 'f');
    for (auto offset : offsets) out << xrefLine(offset, 0, 'n');

    trailer_->getAs<PdfNumber>("Size")->setValue(entries);
    out << "trailer\n";
    trailer_->writeValue(out);
    out << "\nstartxref\n" << std::to_string(xrefStart) << "\n%%EOF\n";
    out.flush();
}

std::string TPdfDocument::saveToString() {
    std::ostringstream bytes;
    saveToStream(bytes);
    return std::move(bytes).str();
}

}  // namespace zor::pdf
