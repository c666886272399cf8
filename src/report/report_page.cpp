#include "report/report_page.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report/report_texts.h"

namespace zor::report {
namespace {

using emf::Point;
using emf::Rect;
using emf::rgb;
using pagestore::TPrintPreview;
using record::AdministrationRecord;

constexpr emf::ColorRef kBlack = rgb(0, 0, 0);
constexpr emf::ColorRef kWhite = rgb(255, 255, 255);
constexpr emf::ColorRef kDarkGrey = rgb(128, 128, 128);
constexpr emf::ColorRef kMediumGrey = rgb(160, 160, 164);
constexpr emf::ColorRef kSilver = rgb(192, 192, 192);
constexpr const char* kFace = "Calibri";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string OrDash(const std::string& text) { return text.empty() ? std::string(kNoValue) : text; }

// Composition state of one report page: the current line (x, y), the line
// advance h, and the measures u and x0 taken over from the screen.
class Composer {
public:
    Composer(TPrintPreview& store, const ScreenMetrics& screen)
        : store_(store), canvas_(*store.Canvas()), u_(screen.letterWidth), x0_(screen.X0()) {
        tenMm_ = store.ConvertPoint(100, 0, pagestore::mmLoMetric, store.Units()).x;
        const Rect page = store.PageBounds();
        W_ = page.width();
        H_ = page.height();
    }

    // A distance in tenths of a millimetre as a multiple of the 10 mm base.
    int mm10(int tenths) const { return static_cast<int>(std::int64_t(tenths) * tenMm_ / 100); }
    int mm(int millimetres) const { return mm10(millimetres * 10); }
    int W() const { return W_; }
    int H() const { return H_; }
    int u() const { return u_; }
    int x0() const { return x0_; }
    int h() const { return h_; }
    int x = 0;
    int y = 0;

    // --- Fonts ---------------------------------------------------------------
    void setFont(int points, bool bold) {
        emf::Font font = canvas_.font();
        font.name = kFace;
        font.setSize(points);
        font.bold = bold;
        font.italic = font.underline = font.strikeOut = false;
        font.color = kBlack;
        canvas_.setFont(font);
        h_ = canvas_.textHeight("A");
    }
    void titleFont() { setFont(28, true); }
    void headingFont() {
        setFont(16, true);
        y += h_ / 2;
        canvas_.moveTo(x, y);
    }
    void bodyFont() { setFont(12, false); }
    void smallFont() { setFont(8, false); }
    void bold() { changeFont([](emf::Font& f) { f.bold = true; }); }
    void size(int points) { changeFont([points](emf::Font& f) { f.setSize(points); }); }
    void fontColor(emf::ColorRef color) { changeFont([color](emf::Font& f) { f.color = color; }); }

    // --- Lines ---------------------------------------------------------------
    void write(std::string_view text) { canvas_.textOut(canvas_.penPos().x, y, text); }
    void writeLine(std::string_view text) {
        write(text);
        newLine();
    }
    void newLine() {
        y += h_;
        canvas_.moveTo(x, y);
    }
    void stepRight(int n) {
        x += n;
        canvas_.moveTo(x, y);
    }
    void stepLeft(int n) { stepRight(-n); }
    // Writes text starting at (px, y).
    void writeAt(int px, std::string_view text) {
        canvas_.moveTo(px, y);
        write(text);
    }

    // --- Drawing -------------------------------------------------------------
    void pen(int widthTenths, emf::ColorRef color) {
        canvas_.setPen(emf::Pen{color, mm10(widthTenths), emf::pen_style::Solid});
    }
    void fill(emf::ColorRef color) { canvas_.setBrush(emf::Brush{color, emf::brush_style::Solid}); }
    emf::Canvas& canvas() { return canvas_; }
    TPrintPreview& store() { return store_; }

private:
    template <typename Change>
    void changeFont(Change change) {
        emf::Font font = canvas_.font();
        change(font);
        canvas_.setFont(font);
    }

    TPrintPreview& store_;
    emf::Canvas& canvas_;
    int u_;
    int x0_;
    int tenMm_ = 0;
    int W_ = 0;
    int H_ = 0;
    int h_ = 0;
};

// --- Header and box frames ----------------------------------------------------

void ComposeHeader(Composer& c, const ReportContext& context) {
    emf::Canvas& canvas = c.canvas();
    c.titleFont();
    canvas.textRect(Rect{0, 0, c.W(), c.H()}, c.W() - c.mm(75), c.mm(15), kReportTitle);

    c.pen(3, kSilver);
    c.bodyFont();
    c.x = c.W() - c.mm(125);
    c.y = c.mm(43);
    canvas.moveTo(c.x, c.y);
    c.writeLine(kProgramLine);
    c.writeLine(kAuthorsLine);

    if (context.pictures) {
        c.store().PaintGraphic(Rect{c.mm(13), c.mm(16), c.mm(73), c.mm(54)},
                               context.pictures->testLogo, false, true, false);
    }
    c.setFont(13, false);
    canvas.setBackgroundMode(emf::bk_mode::Transparent);

    const std::string line = std::string(kPrintDateLabel) + context.printDateText;
    canvas.textRect(Rect{c.mm(13), c.mm(59), c.W() - c.mm(20), c.H() - c.mm(15)}, c.mm(13),
                    c.mm(59), line);
}

// A framed box across the page from top to bottom (millimetres).
void FrameBox(Composer& c, int top, int bottom) {
    c.pen(3, kSilver);
    c.fill(kWhite);
    c.canvas().rectangle(Rect{c.mm(8), c.mm(top), c.W() - c.mm(8), c.mm(bottom)});
}

// --- Personalia -----------------------------------------------------------------

constexpr std::array<std::string_view, 8> kPersonaliaLabels = {
    "Code / Naam", "Geslacht", "Geboortedatum [dd-mm-jjjj]", "Leeftijd [jaar;maand]",
    "Afnamedatum [dd-mm-jjjj]", "Testleider", "Naam", "Groep"};

// The step from the labels to the value column: 650u, widened where the page's
// font would make the longest label run into the colon.
int ValueColumnStep(Composer& c) {
    c.bodyFont();
    int widest = 0;
    for (std::string_view label : kPersonaliaLabels) {
        widest = std::max(widest, c.canvas().textWidth(label));
    }
    return std::max(650 * c.u(), widest + c.mm(1));
}

// Label at x, the value one column step further after ":   " in bold, then the
// next line.
void PersonaliaRow(Composer& c, int column, std::string_view label, const std::string& value) {
    c.write(label);
    c.stepRight(column);
    c.write(":   ");
    c.bold();
    c.writeLine(value);
    c.bodyFont();
    c.stepLeft(column);
}

// The age up to end; nothing without a birth date that forms a date.
std::optional<record::Age> AgeAt(const AdministrationRecord& record, const record::Date& end) {
    if (record.Egebjaar.empty() || record.Egebmnd.empty() || record.Egebdag.empty()) {
        return std::nullopt;
    }
    const auto birth = record::DateFromText(Trim(record.Egebdag) + "-" + Trim(record.Egebmnd) +
                                            "-" + Trim(record.Egebjaar));
    if (!birth) return std::nullopt;
    return record::AgeBetween(end, *birth);
}

void ComposePersonalia(Composer& c, const AdministrationRecord& record,
                       const std::optional<record::Age>& age, int boxTop) {
    c.x = c.x0();
    c.y = boxTop - c.mm(1);
    c.canvas().moveTo(c.x, c.y);
    std::string sex;
    if (record.RGsekse == record::Sex::Meisje) sex = "meisje";
    if (record.RGsekse == record::Sex::Jongen) sex = "jongen";

    const int column = ValueColumnStep(c);
    c.stepRight(125 * c.u());
    c.headingFont();
    c.writeLine("Personalia");
    c.bodyFont();
    c.stepRight(50 * c.u());
    PersonaliaRow(c, column, "Code / Naam", record.Ecode);
    PersonaliaRow(c, column, "Geslacht", OrDash(sex));
    PersonaliaRow(c, column, "Geboortedatum [dd-mm-jjjj]",
                  record.Egebjaar.empty() ? std::string(kNoValue)
                                          : Trim(record.Egebdag) + "-" + Trim(record.Egebmnd) +
                                                "-" + Trim(record.Egebjaar));
    PersonaliaRow(c, column, "Leeftijd [jaar;maand]", age ? age->Text() : std::string(kNoValue));

    const auto section = [&c](std::string_view heading) {
        c.stepLeft(50 * c.u());
        c.y -= c.mm(2);
        c.headingFont();
        c.writeLine(heading);
        c.bodyFont();
        c.stepRight(50 * c.u());
    };
    section("Afnamegegevens");
    PersonaliaRow(c, column, "Afnamedatum [dd-mm-jjjj]", AdministrationDateText(record));
    PersonaliaRow(c, column, "Testleider", OrDash(record.Etl));
    section("School/Instelling");
    PersonaliaRow(c, column, "Naam", OrDash(record.Eschool));
    PersonaliaRow(c, column, "Groep", OrDash(record.Egroep));
    c.stepLeft(50 * c.u());
}

// --- Score table ----------------------------------------------------------------

struct Columns {
    int a, b, c;  // left edges of the subtest, speed and accuracy cells
    int width;
    int right(int left) const { return left + width; }
};

void HeadingCell(Composer& c, int left, int top, int width, emf::ColorRef fill,
                 emf::ColorRef textColor, std::string_view text, int textX) {
    const Rect cell{left, top, left + width, top + c.mm(5)};
    c.fill(fill);
    c.canvas().fillRect(cell);
    c.bodyFont();
    c.bold();
    c.fontColor(textColor);
    c.size(13);
    c.canvas().textRect(cell, textX, top - c.mm10(4), text);
}

void RawRow(Composer& c, const Columns& col, std::string_view name, const RawScoreRow& row) {
    c.bodyFont();
    c.bold();
    c.write(name);
    c.bodyFont();
    c.writeAt(col.b + c.mm(31), row.seconds);
    c.writeAt(col.c + c.mm(28), row.correct);
    if (row.shown) c.writeAt(col.c + c.mm(33), "goed");
}

void Rule(Composer& c, int x1, int right) {
    const int ruleY = c.y + c.h() / 2;
    c.canvas().moveTo(x1, ruleY);
    c.canvas().lineTo(right, ruleY);
    c.newLine();
    c.y += c.h() * 3 / 10;
}

void ScoreFont(Composer& c) {
    c.bodyFont();
    c.size(13);
    c.fontColor(kBlack);
    c.bold();
}

// A 12 × 7 mm score box at left with the score (or "n.v.t.") raised by raise.
void ScoreBox(Composer& c, int left, const std::string& text, int raise) {
    c.fill(kWhite);
    c.canvas().rectangle(Rect{left, c.y - c.mm(1), left + c.mm(12), c.y - c.mm(1) + c.mm(7)});
    ScoreFont(c);
    const int inset = text == kNotApplicable ? c.mm10(15) : c.mm(2);
    c.canvas().textOut(left + inset, c.y - raise, text);
}

void LabelBox(Composer& c, int left, int right, const std::string& label) {
    c.fill(kWhite);
    c.canvas().rectangle(Rect{left, c.y - c.mm(1), right, c.y - c.mm(1) + c.mm(7)});
    ScoreFont(c);
    c.bodyFont();
    c.canvas().textOut(left + c.mm(4), c.y, label);
}

void ComposeScoreTable(Composer& c, const ReportScores& scores, int boxTop) {
    emf::Canvas& canvas = c.canvas();
    const int tableX = c.x0() + 125 * c.u();
    const int x1 = c.x0() + 175 * c.u();
    Columns col{};
    col.width = c.mm(60);
    col.a = tableX + c.mm(3);
    col.b = col.right(col.a) + c.mm(1);
    col.c = col.right(col.b) + c.mm(1);

    c.x = c.x0();
    c.y = boxTop - c.mm(1);
    canvas.moveTo(c.x, c.y);
    c.stepRight(125 * c.u());
    c.headingFont();
    c.writeLine("Scores");
    const int y1 = c.y;

    const int cellTop = y1 + c.mm10(24);
    HeadingCell(c, col.a, cellTop, col.width, kDarkGrey, kWhite, " Deeltest", col.a);
    HeadingCell(c, col.b, cellTop, col.width, kMediumGrey, kBlack, "       Snelheid (seconden)",
                col.b + c.mm(5));
    HeadingCell(c, col.c, cellTop, col.width, kSilver, kBlack,
                "       Accuratesse (maximum = 12)", col.c - c.mm(5));
    c.fill(kWhite);

    c.y = y1 + c.mm(10);
    c.stepRight(50 * c.u());
    RawRow(c, col, "FoneemWeglating", scores.deletionRow);
    c.pen(4, kMediumGrey);

    c.y += c.mm(4);
    c.newLine();
    c.fontColor(kBlack);
    RawRow(c, col, "FoneemVerwisseling", scores.swapRow);

    c.y += c.mm(6);
    Rule(c, x1, col.right(col.c));

    c.bodyFont();
    c.bold();
    canvas.moveTo(c.x, c.y);
    c.write("Standaardscore (Wechsler)");
    const int speedBox = col.b + c.mm(24);
    ScoreBox(c, speedBox, scores.speedBox, c.mm10(5));
    LabelBox(c, speedBox + c.mm(14), col.right(col.b), scores.SpeedInterval);
    const int accuracyBox = col.c + c.mm(22);
    ScoreBox(c, accuracyBox, scores.accuracyBox, c.mm10(5));
    LabelBox(c, accuracyBox + c.mm(14), col.right(col.c), scores.AccuracyInterval);

    c.newLine();
    Rule(c, x1, col.right(col.c));

    c.pen(4, kMediumGrey);
    const int joinLeft = col.c - c.mm10(5);
    const int joinRight = col.c + c.mm10(5);
    for (const auto& [from, to] : {std::pair{speedBox, joinLeft}, std::pair{accuracyBox, joinRight}}) {
        const int stem = from + c.mm10(45);
        canvas.moveTo(stem, c.y - c.mm10(25));
        canvas.lineTo(stem, c.y);
        canvas.lineTo(to, c.y);
        canvas.lineTo(to, c.y + c.mm(2));
    }
    c.fill(kWhite);
    const std::array<Point, 3> arrow = {Point{col.c, c.y + c.mm(4)},
                                        Point{col.c - c.mm10(25), c.y + c.mm(1)},
                                        Point{col.c + c.mm10(25), c.y + c.mm(1)}};
    canvas.polygon(arrow);

    c.newLine();
    c.bodyFont();
    c.bold();
    c.write("ZOR");
    c.y -= c.mm10(5);
    c.smallFont();
    c.bold();
    c.write("Index");
    c.y += c.mm10(5);
    c.bodyFont();
    c.bold();
    c.write(" (Wechsler)");

    const int indexBox = col.c - c.mm10(45);
    ScoreBox(c, indexBox, scores.indexBox, c.mm10(2));
    const int indexLabel = indexBox + c.mm(12) + c.mm(2);
    LabelBox(c, indexLabel, indexBox + c.mm(12) + c.mm(24), scores.IndexInterval);
    c.newLine();
}

// --- Notes and footer -----------------------------------------------------------

void ComposeNotes(Composer& c, const ReportContext& context) {
    c.x = c.mm(8);
    c.bodyFont();
    c.bold();
    c.size(11);
    c.newLine();
    c.newLine();
    c.writeLine(kInterpretationNote);
    c.newLine();
    c.y -= c.mm(4);
    c.bodyFont();
    c.size(11);
    for (std::string_view line : kValidityNote) c.writeLine(line);
    c.newLine();

    if (context.pictures) {
        c.store().PaintGraphic(Rect{c.mm(13), c.H() - c.mm(30), c.mm(53), c.H() - c.mm(18)},
                               context.pictures->publisherLogo, false, true, true);
    }
    c.x = c.mm(73);
    c.y = c.H() - c.mm(31);
    c.canvas().moveTo(c.x, c.y);
    for (std::string_view line : kRightsNotice) c.writeLine(line);
}

}  // namespace

int ScreenMetrics::X0() const {
    return 2 * static_cast<int>(std::lround(pixelsPerInch / 2.54));
}

std::string AdministrationDateText(const AdministrationRecord& record) {
    return Trim(record.Eafndag) + "-" + Trim(record.Eafnmnd) + "-" + Trim(record.Eafnjaar);
}

ReportScores ComposeReport(TPrintPreview& store, const AdministrationRecord& record,
                           const ReportContext& context) {
    if (!store.Canvas()) throw std::logic_error("no report page is open");
    Composer c(store, context.screen);
    ComposeHeader(c, context);
    FrameBox(c, 70, 140);
    const std::optional<record::Age> age = AgeAt(record, context.ageEndDate);
    ComposePersonalia(c, record, age, c.mm(70));
    FrameBox(c, 145, 215);
    // Without a birth date that forms a date the record's own age stands.
    const ReportScores scores =
        ComputeReportScores(record, context.kind, age ? age->TotalMonths() : record.AgeMonths);
    ComposeScoreTable(c, scores, c.mm(145));
    ComposeNotes(c, context);
    return scores;
}

void ComposeCoverPage(TPrintPreview& store, const ReportPictures& pictures) {
    if (!store.Canvas()) throw std::logic_error("no report page is open");
    Composer c(store, ScreenMetrics{});
    emf::Canvas& canvas = c.canvas();
    c.setFont(18, true);
    canvas.setBackgroundMode(emf::bk_mode::Transparent);
    canvas.textRect(Rect{c.mm(20), c.mm(20), c.W() - c.mm(20), c.mm(40)}, c.mm(20), c.mm(20),
                    kCoverTitle);
    canvas.setPen(emf::Pen{kSilver, 0, emf::pen_style::Solid});
    c.fill(kWhite);
    canvas.rectangle(Rect{c.mm(20), c.mm(90), c.W() - c.mm(20), c.H() - c.mm(90)});
    store.PaintGraphic(Rect{c.mm(30), c.mm(100), c.W() - c.mm(30), c.H() - c.mm(100)},
                       pictures.testLogo, true, true, true);
    store.PaintGraphic(Rect{c.mm(20), c.mm(240), c.W() - c.mm(20), c.mm(260)},
                       pictures.publisherLogo, true, true, true);
}

void BuildReportPages(TPrintPreview& store, const std::function<void()>& compose,
                      int emptyPagesAfter) {
    store.SetUnits(pagestore::mmHiMetric);
    store.BeginDoc();
    try {
        compose();
        for (int i = 0; i < emptyPagesAfter; ++i) store.NewPage();
    } catch (...) {
        store.EndDoc();
        throw;
    }
    store.EndDoc();
}

}  // namespace zor::report
