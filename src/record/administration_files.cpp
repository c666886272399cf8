#include "record/administration_files.h"

#include "files/atomic_file.h"
#include "files/read_file.h"
#include "folders/folders.h"
#include "record/stored_administration.h"
#include "text/encoding.h"

namespace zor::record {
namespace {

FileError CreateError(const fs::path& file, const std::string& reason) {
    return {file, "Kan bestand \"" + file.string() + "\" niet aanmaken. " + reason};
}

FileError OpenError(const fs::path& file, const std::string& reason) {
    return {file, "Kan bestand \"" + file.string() + "\" niet openen. " + reason};
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

ResumeResult LoadFailure(const FileError& error) {
    return {ResumeResult::Outcome::kLoadFailed, error.message, {}, error.file};
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    return true;
}

bool IsAfnameKey(std::string_view key) {
    constexpr std::size_t kDateSuffixLength = 11;  // "_dd-mm-yyyy"
    if (key.empty() || key.size() > kMaxCodeLength + kDateSuffixLength) return false;
    for (char c : key) {
        if (!IsCodeCharacter(c)) return false;
    }
    return IsPlainFileName(key);
}

AdministrationPaths PathsInDataFolder(const fs::path& datapath, std::string_view key) {
    const fs::path data = folders::dataFilesFolder(datapath);
    return {folders::incompleteFolder(datapath) / folders::incompleteFileName(key),
            data / folders::dataFileName(key, folders::DataFile::deletion),
            data / folders::dataFileName(key, folders::DataFile::swap)};
}

AdministrationPaths PathsBesideFile(const fs::path& chosenIncompleteFile, std::string_view key) {
    const fs::path folder = chosenIncompleteFile.parent_path();
    return {chosenIncompleteFile, folder / folders::dataFileName(key, folders::DataFile::deletion),
            folder / folders::dataFileName(key, folders::DataFile::swap)};
}

std::string LinesFileContent(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += text::utf8ToCp1252(line);
        content += "\r\n";
    }
    return content;
}

std::optional<FileError> WriteLinesFile(const fs::path& file,
                                        const std::vector<std::string>& lines) {
    const std::string content = LinesFileContent(lines);
    if (!IsPlainFileName(file.filename().string()))
        return CreateError(file, "Ongeldige bestandsnaam.");
    try {
        files::ReplaceFile(file, content);
    } catch (const files::WriteError& e) {
        return CreateError(file, files::DutchReason(e.error()));
    }
    return std::nullopt;
}

LinesFile ReadLinesFile(const fs::path& file) {
    try {
        const std::string bytes = files::ReadRegularFile(
            file, kMaxLinesFileSize, "Het bestand is te groot voor een ZOR-bestand.");
        return {SplitLines(text::cp1252ToUtf8(bytes)), std::nullopt};
    } catch (const files::ReadError& e) {
        return {{}, OpenError(file, e.what())};
    }
}

std::optional<FileError> WriteAdministrationFiles(const AdministrationRecord& record,
                                                  const fs::path& datapath) {
    const AdministrationPaths paths = PathsInDataFolder(datapath, record.AfnameKey);
    if (datapath.empty()) return CreateError(paths.incomplete, "Er is geen datamap ingesteld.");
    if (!IsPlainFileName(record.AfnameKey)) {
        return CreateError(paths.incomplete, "Ongeldige bestandsnaam.");
    }
    if (auto error = WriteLinesFile(paths.incomplete, record.MemoCom)) return error;
    if (auto error = WriteLinesFile(paths.dataFW, record.MdataFW)) return error;
    return WriteLinesFile(paths.dataFV, record.MdataFV);
}

SaveResult SaveAdministration(AdministrationRecord& record, const fs::path& datapath) {
    if (const int row = record.FindSubjectRow(record.Ecode); row > 0) record.ReplaceDataLines(row);
    if (record.Ecode.empty() || !record.SubjectValid || record.MdataFW.empty()) return {};
    if (auto error = WriteAdministrationFiles(record, datapath)) {
        return {SaveResult::Outcome::kNeedsBackup, std::move(error)};
    }
    return {SaveResult::Outcome::kSaved, std::nullopt};
}

std::vector<FileError> WriteBackupFiles(const AdministrationRecord& record,
                                        const fs::path& chosenIncompleteFile) {
    std::vector<FileError> errors;
    if (!IsPlainFileName(record.AfnameKey)) {
        errors.push_back(CreateError(chosenIncompleteFile, "Ongeldige bestandsnaam."));
        return errors;
    }
    const AdministrationPaths paths = PathsBesideFile(chosenIncompleteFile, record.AfnameKey);
    if (auto error = WriteLinesFile(paths.incomplete, record.MemoCom)) errors.push_back(*error);
    if (auto error = WriteLinesFile(paths.dataFW, record.MdataFW)) errors.push_back(*error);
    if (auto error = WriteLinesFile(paths.dataFV, record.MdataFV)) errors.push_back(*error);
    return errors;
}

ResumeResult ResumeFromFiles(AdministrationRecord& record, const fs::path& incompleteFile,
                             const fs::path& datapath) {
    record.ResumeFileName = incompleteFile.string();
    if (incompleteFile.empty()) return {};

    LinesFile memo = ReadLinesFile(incompleteFile);
    if (memo.error) return LoadFailure(*memo.error);
    if (memo.lines.empty() || !IsAfnameKey(memo.lines[0])) {
        return LoadFailure(OpenError(incompleteFile, "Het bevat geen geldige afnamenaam."));
    }
    const AdministrationPaths paths = PathsInDataFolder(datapath, memo.lines[0]);
    if (datapath.empty())
        return LoadFailure(OpenError(paths.dataFW, "Er is geen datamap ingesteld."));
    try {
        // The record's administration date is today's until the resume moves it.
        StoredAdministration stored =
            ReadStoredAdministration(paths.dataFW, paths.dataFV, record.AfnameDate);
        record.MemoCom = std::move(memo.lines);
        LoadStoredAdministration(record, std::move(stored));
    } catch (const StoredAdministrationError& e) {
        if (e.kind() == StoredAdministrationError::Kind::kUnreadable) {
            return LoadFailure({e.file(), e.what()});
        }
        // A refused administration leaves nothing of itself in the record.
        record.ResetAfname();
        (e.subtest() == Subtest::FW ? record.SGdataFW : record.SGdataFV).ClearColumn(1);
        return {ResumeResult::Outcome::kRejected, RefusalBoxText(e), e.what(), e.file()};
    }

    std::error_code ignored;  // a file left behind is written again at the next save
    fs::remove(incompleteFile, ignored);
    record.ShowAfnameDate();
    record.AfnameKey = record.SubjectKey();
    if (record.MemoCom.empty()) record.MemoCom.emplace_back();
    record.MemoCom[0] = record.AfnameKey;
    return {ResumeResult::Outcome::kResumed, {}, {}, incompleteFile};
}

}  // namespace zor::record
