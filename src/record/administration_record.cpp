#include "record/administration_record.h"

#include <algorithm>
#include <stdexcept>

#include "norms/age_band.h"
#include "record/text_fields.h"

namespace zor::record {
namespace {

constexpr int kResetRows = 15;

std::string SexText(Sex sex) {
    switch (sex) {
        case Sex::Meisje:
            return "meisje";
        case Sex::Jongen:
            return "jongen";
        case Sex::None:
            break;
    }
    return {};
}

Sex SexFromText(std::string_view text) {
    if (text.empty()) return Sex::None;
    if (text == "vrouw" || text == "meisje") return Sex::Meisje;
    return Sex::Jongen;
}

norms::ItemCells ItemColumn(const StringGrid& grid, int column, int firstRow) {
    norms::ItemCells cells;
    for (int i = 0; i < norms::kTestItems; ++i) cells[i] = grid.Cell(column, firstRow + i);
    return cells;
}

// Row labels are the number with a space before it: " 1", " vb1".
std::string RowLabel(std::string_view prefix, int number) {
    std::string label = " ";
    label += prefix;
    label += std::to_string(number);
    return label;
}

void LabelRows(StringGrid& grid, int rows, int firstNumber) {
    for (int row = 0; row < rows; ++row) grid.SetCell(0, row, RowLabel("", firstNumber + row));
}

void PutLine(std::vector<std::string>& lines, int row, std::string line) {
    if (lines.size() < static_cast<std::size_t>(row)) lines.resize(row);
    lines[row - 1] = std::move(line);
}

}  // namespace

AdministrationRecord::AdministrationRecord()
    : SGdataFW(2, kDataGridRows),
      SGdataFV(2, kDataGridRows),
      SGRscoreFW(3, kScoreGridRows),
      SGRscoreFV(3, kScoreGridRows) {
    LabelRows(SGdataFW, kDataGridRows, 1);
    LabelRows(SGdataFV, kDataGridRows, 1);
    for (int row = 0; row < kFirstItemRowFW; ++row) {
        SGRscoreFW.SetCell(0, row, RowLabel("vb", row + 1));
    }
    for (int row = kFirstItemRowFW; row < kScoreGridRows; ++row) {
        SGRscoreFW.SetCell(0, row, RowLabel("", row - kFirstItemRowFW + 1));
    }
    LabelRows(SGRscoreFV, norms::kTestItems, 1);
}

void AdministrationRecord::ResetAfname() {
    MdataFV.clear();
    MdataFW.clear();
    Ecode.clear();
    RGsekse = Sex::None;
    Egebdag.clear();
    Egebmnd.clear();
    Egebjaar.clear();
    ShowAfnameDate();
    Eschool.clear();
    Egroep.clear();
    Etl.clear();
    ELaatsteFV.clear();
    ElaatsteFW.clear();
    for (int row = 0; row < kResetRows; ++row) {
        for (StringGrid* grid : {&SGRscoreFW, &SGRscoreFV}) {
            grid->SetCell(kTimeColumn, row, {});
            grid->SetCell(kMarkColumn, row, {});
        }
        SGdataFW.SetCell(1, row, {});
        SGdataFV.SetCell(1, row, {});
        if (static_cast<std::size_t>(row) < MemoCom.size()) MemoCom[row].clear();
    }
}

void AdministrationRecord::ShowAfnameDate() {
    AfnameYear = static_cast<std::uint16_t>(AfnameDate.year);
    AfnameMonth = static_cast<std::uint16_t>(AfnameDate.month);
    AfnameDay = static_cast<std::uint16_t>(AfnameDate.day);
    Eafndag = PadLeft(std::to_string(AfnameDay), '0', 2);
    Eafnmnd = PadLeft(std::to_string(AfnameMonth), '0', 2);
    Eafnjaar = std::to_string(AfnameYear);
}

void AdministrationRecord::AppendDataLines() {
    std::string lineFW = BuildDataLineFW();
    std::string lineFV = BuildDataLineFV();
    MdataFW.push_back(std::move(lineFW));
    MdataFV.push_back(std::move(lineFV));
    RefreshDataGrids();
}

void AdministrationRecord::ReplaceDataLines(int row) {
    if (row < 1 || static_cast<std::size_t>(row) > MdataFW.size()) {
        throw std::out_of_range("no data line " + std::to_string(row));
    }
    std::string lineFW = BuildDataLineFW();
    std::string lineFV = BuildDataLineFV();
    PutLine(MdataFW, row, std::move(lineFW));
    PutLine(MdataFV, row, std::move(lineFV));
    RefreshDataGrids();
}

void AdministrationRecord::RefreshDataGrids() {
    const auto refresh = [](const std::vector<std::string>& lines, StringGrid& grid) {
        const std::size_t rows = std::min<std::size_t>(lines.size(), kDataGridRows);
        for (std::size_t i = 0; i < rows; ++i) grid.SetCell(1, static_cast<int>(i), lines[i]);
    };
    refresh(MdataFW, SGdataFW);
    refresh(MdataFV, SGdataFV);
}

// The grid holds a copy of each list line, so the list is searched: the same
// lines, and also those beyond the grid's 200 rows.
int AdministrationRecord::FindSubjectRow(std::string_view code) const {
    if (code.empty()) return 0;
    int found = 0;
    for (std::size_t i = 0; i < MdataFW.size(); ++i) {
        const std::string_view line = MdataFW[i];
        if (line.substr(0, line.find(';')) == code) found = static_cast<int>(i) + 1;
    }
    return found;
}

std::string AdministrationRecord::ComputeAge(const Date& later, const Date& birth) {
    const Age age = AgeBetween(later, birth);
    AgeMonths = age.TotalMonths();
    return age.Text();
}

norms::RawTotals AdministrationRecord::Totals() const {
    return {
        .timeFW = norms::TotalTimeSeconds(ItemColumn(SGRscoreFW, kTimeColumn, kFirstItemRowFW)),
        .timeFV = norms::TotalTimeSeconds(ItemColumn(SGRscoreFV, kTimeColumn, 0)),
        .correctFW = norms::TotalCorrect(ItemColumn(SGRscoreFW, kMarkColumn, kFirstItemRowFW)),
        .correctFV = norms::TotalCorrect(ItemColumn(SGRscoreFV, kMarkColumn, 0)),
    };
}

std::string AdministrationRecord::TotalTimeFW() const {
    return std::to_string(
        norms::TotalTimeSeconds(ItemColumn(SGRscoreFW, kTimeColumn, kFirstItemRowFW)));
}

std::string AdministrationRecord::TotalTimeFV() const {
    return std::to_string(norms::TotalTimeSeconds(ItemColumn(SGRscoreFV, kTimeColumn, 0)));
}

std::string AdministrationRecord::TotalCorrectFW() const {
    return std::to_string(
        norms::TotalCorrect(ItemColumn(SGRscoreFW, kMarkColumn, kFirstItemRowFW)));
}

std::string AdministrationRecord::TotalCorrectFV() const {
    return std::to_string(norms::TotalCorrect(ItemColumn(SGRscoreFV, kMarkColumn, 0)));
}

void AdministrationRecord::BerekenSpeedSS() {
    const norms::RawScores raw = norms::FormRawScores(Totals());
    const int band = norms::AgeBand(AgeMonths, BirthDateFilled());
    SpeedSSFW = norms::SpeedScoreFW(band, raw.T);
    SpeedSSFV = norms::SpeedScoreFV(band, raw.S);
}

RecordScores AdministrationRecord::ComputeScores(int ageMonths) const {
    RecordScores result;
    result.totals = Totals();
    result.band = norms::AgeBand(ageMonths, BirthDateFilled());
    result.scores = norms::ComputeStandardScores(result.band, norms::FormRawScores(result.totals));
    return result;
}

std::string AdministrationRecord::BuildDataLineFW() {
    std::string line = BuildDataLine(Subtest::FW);
    BerekenSpeedSS();
    if (StatusCallsForScore(Subtest::FW, AfnameStatus)) {
        line += ';';
        line += FormatScore(SpeedSSFW, ',');
    }
    return line;
}

std::string AdministrationRecord::BuildDataLineFV() const {
    std::string line = BuildDataLine(Subtest::FV);
    if (StatusCallsForScore(Subtest::FV, AfnameStatus)) {
        line += ';';
        line += FormatScore(SpeedSSFV, ',');
    }
    return line;
}

std::string AdministrationRecord::BuildDataLine(Subtest subtest) const {
    const bool fw = subtest == Subtest::FW;
    const std::string* header[] = {
        &Egebdag,  &Egebmnd, &Egebjaar, &Eafndag, &Eafnmnd,
        &Eafnjaar, &Eschool, &Egroep,   &Etl,     fw ? &ElaatsteFW : &ELaatsteFV};
    std::string line = DataField(Ecode);
    line += ';';
    line += SubtestCode(subtest);
    line += ';' + SexText(RGsekse);
    for (const std::string* text : header) line += ';' + DataField(*text);
    line += ';' + std::to_string(AfnameStatus);

    const StringGrid& grid = fw ? SGRscoreFW : SGRscoreFV;
    const int pairs = std::clamp((fw ? CurrentStepFW : CurrentStepFV) - 1, 0, ResultRows(subtest));
    for (int r = 0; r < pairs; ++r) {
        line += ';' + DataField(grid.Cell(kTimeColumn, r));
        line += ';' + DataField(grid.Cell(kMarkColumn, r));
    }
    return line;
}

ParseResult AdministrationRecord::ParseDataLineFW(int row) {
    return ParseDataLine(Subtest::FW, row);
}

ParseResult AdministrationRecord::ParseDataLineFV(int row) {
    return ParseDataLine(Subtest::FV, row);
}

ParseResult AdministrationRecord::ParseDataLine(Subtest subtest, int row) {
    const bool fw = subtest == Subtest::FW;
    const std::vector<std::string>& lines = fw ? MdataFW : MdataFV;
    if (row < 1 || static_cast<std::size_t>(row) > lines.size() || lines[row - 1].empty()) {
        return {};
    }
    if (auto problem = FindDataLineProblem(lines[row - 1], subtest)) {
        ResetAfname();
        (fw ? SGdataFW : SGdataFV).ClearColumn(1);
        return {ParseResult::Outcome::kRejected, std::string(RejectionMessage(subtest)),
                std::move(*problem)};
    }
    const std::vector<std::string> fields = SplitDataLine(lines[row - 1]);

    Ecode = fields[field::kCode];
    RGsekse = SexFromText(fields[field::kSex]);
    Egebdag = fields[field::kBirthDay];
    Egebmnd = fields[field::kBirthMonth];
    Egebjaar = fields[field::kBirthYear];
    Eafndag = fields[field::kAfnameDay];
    Eafnmnd = fields[field::kAfnameMonth];
    Eafnjaar = fields[field::kAfnameYear];
    // The screen's fields hold no more than this; longer texts come only from a damaged file.
    Eschool = FirstCharacters(fields[field::kSchool], kMaxSchoolLength);
    Egroep = FirstCharacters(fields[field::kGroup], kMaxGroupLength);
    Etl = FirstCharacters(fields[field::kTestLeader], kMaxTestLeaderLength);
    (fw ? ElaatsteFW : ELaatsteFV) = fields[field::kLastItem];
    AfnameStatus = fields[field::kStatus][0] - '0';
    (fw ? CurrentStepFW : CurrentStepFV) = *LastItemStep(subtest, fields[field::kLastItem]) + 1;

    StringGrid& grid = fw ? SGRscoreFW : SGRscoreFV;
    for (int r = 0; r < kScoreGridRows; ++r) {
        grid.SetCell(kTimeColumn, r, fields[field::kFirstPair + 2 * r]);
        grid.SetCell(kMarkColumn, r, fields[field::kFirstPair + 2 * r + 1]);
    }
    // Filling the fields on screen runs the subject check, as typing does.
    MayContinue();
    return {ParseResult::Outcome::kLoaded, {}, {}};
}

bool AdministrationRecord::MayContinue() {
    const std::optional<Date> birth = BirthDate();
    if (Ecode.empty() || RGsekse == Sex::None || !birth) {
        SubjectValid = false;
        return false;
    }
    SubjectValid = true;
    Edit3 = ComputeAge(AfnameDate, *birth);
    return true;
}

std::optional<Date> AdministrationRecord::BirthDate() const {
    if (Egebdag.size() != 2 || Egebmnd.size() != 2 || Egebjaar.size() != 4) return std::nullopt;
    return DateFromParts(Egebdag, Egebmnd, Egebjaar);
}

bool AdministrationRecord::BirthDateFilled() const {
    return !Egebdag.empty() && !Egebmnd.empty() && !Egebjaar.empty();
}

std::string AdministrationRecord::SubjectKey() const {
    return Ecode + "_" + Eafndag + "-" + Eafnmnd + "-" + Eafnjaar;
}

}  // namespace zor::record
