#include "record/administration_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/atomic_file.h"
#include "text/encoding.h"

namespace zor::record {
namespace {

// Far beyond any administration file (a data line is a few hundred bytes).
constexpr off_t kMaxFileSize = 1 << 20;

std::string SystemReason(int error) { return std::strerror(error); }

FileError CreateError(const fs::path& file, const std::string& reason) {
    return {file, "Kan bestand \"" + file.string() + "\" niet aanmaken. " + reason};
}

FileError OpenError(const fs::path& file, const std::string& reason) {
    return {file, "Kan bestand \"" + file.string() + "\" niet openen. " + reason};
}

// A key names files inside a folder: it must not lead out of it.
bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    return true;
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

ResumeResult Refusal(const ParseResult& parse, const fs::path& file) {
    return {ResumeResult::Outcome::kRejected, parse.message, parse.problem, file};
}

}  // namespace

bool IsAfnameKey(std::string_view key) {
    constexpr std::size_t kDateSuffixLength = 11;  // "_dd-mm-yyyy"
    if (key.empty() || key.size() > kMaxCodeLength + kDateSuffixLength) return false;
    for (char c : key) {
        if (!IsCodeCharacter(c)) return false;
    }
    return IsPlainFileName(key);
}

AdministrationPaths PathsInDataFolder(const fs::path& datapath, std::string_view key) {
    const std::string name(key);
    return {datapath / kIncompleteFolderName / (name + ".zta"),
            datapath / kDataFolderName / (name + "_FW.wda"),
            datapath / kDataFolderName / (name + "_FV.vda")};
}

AdministrationPaths PathsBesideFile(const fs::path& chosenIncompleteFile, std::string_view key) {
    const std::string name(key);
    const fs::path folder = chosenIncompleteFile.parent_path();
    return {chosenIncompleteFile, folder / (name + "_FW.wda"), folder / (name + "_FV.vda")};
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
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {{}, OpenError(file, SystemReason(errno))};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {{}, OpenError(file, "Het is geen gewoon bestand.")};
    }
    if (info.st_size > kMaxFileSize) {
        ::close(fd);
        return {{}, OpenError(file, "Het bestand is te groot voor een ZOR-bestand.")};
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return {{}, OpenError(file, SystemReason(error))};
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes.resize(filled);
    return {SplitLines(text::cp1252ToUtf8(bytes)), std::nullopt};
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
    LinesFile dataFW = ReadLinesFile(paths.dataFW);
    if (dataFW.error) return LoadFailure(*dataFW.error);
    LinesFile dataFV = ReadLinesFile(paths.dataFV);
    if (dataFV.error) return LoadFailure(*dataFV.error);

    record.MemoCom = std::move(memo.lines);
    record.MdataFW = std::move(dataFW.lines);
    record.MdataFV = std::move(dataFV.lines);
    record.RefreshDataGrids();

    // A data file without a line cannot be resumed: refused like a damaged line.
    for (const auto& [subtest, file] :
         {std::pair{Subtest::FW, paths.dataFW}, std::pair{Subtest::FV, paths.dataFV}}) {
        const bool fw = subtest == Subtest::FW;
        const int row = static_cast<int>((fw ? record.MdataFW : record.MdataFV).size());
        ParseResult parse = fw ? record.ParseDataLineFW(row) : record.ParseDataLineFV(row);
        if (parse.outcome == ParseResult::Outcome::kNoLine) {
            record.ResetAfname();
            (fw ? record.SGdataFW : record.SGdataFV).ClearColumn(1);
            parse = {ParseResult::Outcome::kRejected, std::string(RejectionMessage(subtest)),
                     "het databestand bevat geen dataregel"};
        }
        if (parse.outcome == ParseResult::Outcome::kRejected) return Refusal(parse, file);
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
