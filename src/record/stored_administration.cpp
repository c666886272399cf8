#include "record/stored_administration.h"

#include <array>
#include <utility>

#include "folders/folders.h"
#include "record/administration_files.h"

namespace zor::record {
namespace {

using Kind = StoredAdministrationError::Kind;

std::string ErrorText(const fs::path& file, int line, const std::string& problem) {
    if (line == 0) return file.string() + ": " + problem;
    return file.string() + ":" + std::to_string(line) + ": " + problem;
}

// The fields both lines of one administration hold alike, with their names.
constexpr std::array<std::pair<int, const char*>, 12> kSharedFields = {{
    {field::kCode, "code"},
    {field::kSex, "geslacht"},
    {field::kBirthDay, "geboortedag"},
    {field::kBirthMonth, "geboortemaand"},
    {field::kBirthYear, "geboortejaar"},
    {field::kAfnameDay, "afnamedag"},
    {field::kAfnameMonth, "afnamemaand"},
    {field::kAfnameYear, "afnamejaar"},
    {field::kSchool, "school"},
    {field::kGroup, "groep"},
    {field::kTestLeader, "testleider"},
    {field::kStatus, "status"},
}};

struct CheckedFile {
    std::vector<std::string> lines;
    int row = 0;
    std::vector<std::string> fields;
};

int LastFilledRow(const std::vector<std::string>& lines) {
    for (int row = static_cast<int>(lines.size()); row > 0; --row) {
        if (!lines[row - 1].empty()) return row;
    }
    return 0;
}

Date DayAfter(const Date& date) {
    if (date.day < DaysInMonth(date.year, date.month)) return {date.year, date.month, date.day + 1};
    if (date.month < 12) return {date.year, date.month + 1, 1};
    return {date.year + 1, 1, 1};
}

// The key a data file's name gives: the name without "_FW.wda" (or "_FV.vda")
// and without a corrected administration's label; nothing for another name.
std::optional<std::string> KeyOfFileName(const fs::path& file, Subtest subtest) {
    std::optional<std::string> name = folders::keyOfDataFileName(
        file.filename().string(),
        subtest == Subtest::FW ? folders::DataFile::deletion : folders::DataFile::swap);
    if (name && name->size() > folders::kCorrectedLabel.size() &&
        name->ends_with(folders::kCorrectedLabel)) {
        name->resize(name->size() - folders::kCorrectedLabel.size());
    }
    return name;
}

// Reads the file and checks its line on its own.
CheckedFile ReadChecked(const fs::path& file, Subtest subtest) {
    LinesFile read = ReadLinesFile(file);
    if (read.error) {
        throw StoredAdministrationError(Kind::kUnreadable, subtest, file, 0, read.error->message);
    }
    CheckedFile checked;
    checked.lines = std::move(read.lines);
    checked.row = LastFilledRow(checked.lines);
    if (checked.row == 0) {
        throw StoredAdministrationError(Kind::kRefused, subtest, file, 0,
                                        "het databestand bevat geen dataregel");
    }
    const std::string& line = checked.lines[checked.row - 1];
    if (auto problem = FindDataLineProblem(line, subtest)) {
        throw StoredAdministrationError(Kind::kRefused, subtest, file, checked.row,
                                        std::move(*problem));
    }
    checked.fields = SplitDataLine(line);
    return checked;
}

void CheckAgreement(const CheckedFile& fw, const CheckedFile& fv, const fs::path& dataFW,
                    const fs::path& dataFV) {
    for (const auto& [index, name] : kSharedFields) {
        if (fw.fields[index] == fv.fields[index]) continue;
        throw StoredAdministrationError(Kind::kRefused, Subtest::FV, dataFV, fv.row,
                                        "veld " + std::to_string(index + 1) + " (" + name + ") " +
                                            QuotedField(fv.fields[index]) + " verschilt van " +
                                            QuotedField(fw.fields[index]) + " in " +
                                            dataFW.string());
    }
}

// The administration date and the key of the file's name, against today and the line.
void CheckDateAndKey(const CheckedFile& checked, const fs::path& file, Subtest subtest,
                     const Date& today) {
    const std::vector<std::string>& f = checked.fields;
    const auto refuse = [&](std::string problem) {
        return StoredAdministrationError(Kind::kRefused, subtest, file, checked.row,
                                         std::move(problem));
    };
    const Date afname =
        *StoredDate(f[field::kAfnameDay], f[field::kAfnameMonth], f[field::kAfnameYear]);
    if (afname > DayAfter(today)) {
        throw refuse("velden 7-9 (afnamedatum) \"" + FormatDate(afname) +
                     "\" ligt meer dan een dag na vandaag (" + FormatDate(today) + ")");
    }
    const std::string lineKey = f[field::kCode] + "_" + f[field::kAfnameDay] + "-" +
                                f[field::kAfnameMonth] + "-" + f[field::kAfnameYear];
    if (const auto nameKey = KeyOfFileName(file, subtest); nameKey && *nameKey != lineKey) {
        throw refuse("de bestandsnaam hoort bij afname \"" + *nameKey +
                     "\", maar code en afnamedatum (velden 1 en 7-9) maken \"" + lineKey + "\"");
    }
}

}  // namespace

StoredAdministrationError::StoredAdministrationError(Kind kind, Subtest subtest, fs::path file,
                                                     int line, std::string problem)
    : std::runtime_error(kind == Kind::kUnreadable ? problem : ErrorText(file, line, problem)),
      kind_(kind),
      subtest_(subtest),
      file_(std::move(file)),
      line_(line),
      problem_(std::move(problem)) {}

std::string RefusalBoxText(const StoredAdministrationError& error) {
    return std::string(RejectionMessage(error.subtest())) + "\n\n" + error.what();
}

StoredAdministration ReadStoredAdministration(const fs::path& dataFW, const fs::path& dataFV,
                                              const Date& today) {
    CheckedFile fw = ReadChecked(dataFW, Subtest::FW);
    CheckedFile fv = ReadChecked(dataFV, Subtest::FV);
    CheckAgreement(fw, fv, dataFW, dataFV);
    CheckDateAndKey(fw, dataFW, Subtest::FW, today);
    CheckDateAndKey(fv, dataFV, Subtest::FV, today);

    StoredAdministration stored;
    stored.afnameDate = *StoredDate(fw.fields[field::kAfnameDay], fw.fields[field::kAfnameMonth],
                                    fw.fields[field::kAfnameYear]);
    stored.birthDate = StoredDate(fw.fields[field::kBirthDay], fw.fields[field::kBirthMonth],
                                  fw.fields[field::kBirthYear]);
    stored.linesFW = std::move(fw.lines);
    stored.linesFV = std::move(fv.lines);
    stored.rowFW = fw.row;
    stored.rowFV = fv.row;
    return stored;
}

void LoadStoredAdministration(AdministrationRecord& record, StoredAdministration stored) {
    record.MdataFW = std::move(stored.linesFW);
    record.MdataFV = std::move(stored.linesFV);
    record.RefreshDataGrids();
    // The lines passed the same checks the parser makes, so both load.
    if (record.ParseDataLineFW(stored.rowFW).outcome != ParseResult::Outcome::kLoaded ||
        record.ParseDataLineFV(stored.rowFV).outcome != ParseResult::Outcome::kLoaded) {
        throw std::logic_error("Een gecontroleerde dataregel werd bij het laden geweigerd.");
    }
}

}  // namespace zor::record
