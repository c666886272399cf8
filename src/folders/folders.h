#pragma once
// Every folder and file name of the program, as file-system paths. Three
// folders hold the files: the program folder (pictures and sounds that come
// with the program, read only), the data folder (administration data and
// unfinished administrations) and the report folder (report files and their
// PDF copies). Each file-name pattern is built in exactly one function here,
// used by the program and by zor-tool alike.
//
// A folder setting that is not set gives an empty folder value. Paths below an
// empty folder start at the root ("/Data/<key>_FW.wda"), where none of the
// program's folders are, so they address no data or report folder at all and
// never a folder relative to the working directory.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zor::folders {

namespace fs = std::filesystem;

// ---- Program folder -------------------------------------------------------

// The folder of the running program file.
fs::path executableFolder();

// The folders that may hold the program's pictures and sounds (Graphics/ and
// Audio/), in the order they are tried: the executable's own folder (a build
// folder) and ../share/zor beside it (an installation).
std::vector<fs::path> programFolderCandidates(const fs::path& executableFolder);

// Neither candidate holds Graphics/ and Audio/. The Dutch message names every
// folder looked in.
class ProgramFilesMissing : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The first candidate that holds both Graphics/ and Audio/. Throws ProgramFilesMissing.
fs::path findProgramFolder(const fs::path& executableFolder);
// `Pgmpath`: the program folder of the running program file. Throws ProgramFilesMissing.
fs::path runningProgramFolder();

// <program>/Graphics: the screens' pictures.
fs::path graphicsFolder(const fs::path& programFolder);
// <program>/Graphics/Buttons/<name>: a picture of an image button.
fs::path buttonPicture(const fs::path& programFolder, std::string_view name);
// <program>/Audio: the sounds; the spoken prompts lie in its FW and FV folders.
fs::path audioFolder(const fs::path& programFolder);

// ---- Data folder ----------------------------------------------------------

inline constexpr std::string_view kDataFolderName = "Data";
inline constexpr std::string_view kIncompleteFolderName = "Incomplete afnames";
// The hidden folder of recovery journals and administration locks.
inline constexpr std::string_view kRecoveryFolderName = ".herstel";
// The label of a corrected administration's files, after the key.
inline constexpr std::string_view kCorrectedLabel = "_gecorrigeerd";

// The two data files of an administration, one per subtest.
enum class DataFile { deletion, swap };

// <data>/Data: the data files.
fs::path dataFilesFolder(const fs::path& dataFolder);
// <data>/Incomplete afnames: the incomplete-administration files.
fs::path incompleteFolder(const fs::path& dataFolder);
// <data>/.herstel: recovery journals and locks.
fs::path recoveryFolder(const fs::path& dataFolder);
// <data>/Opnames/<key>: the answer recordings of one administration, beside
// its data files.
fs::path answerRecordingsFolder(const fs::path& dataFolder, std::string_view key);

// <key>.zta
std::string incompleteFileName(std::string_view key);
// <key>_FW.wda (deletion) or <key>_FV.vda (swap).
std::string dataFileName(std::string_view key, DataFile which);
// The key of a data file's name: the name without "_FW.wda" (or "_FV.vda");
// nothing when the name does not end so or holds nothing before it.
std::optional<std::string> keyOfDataFileName(std::string_view fileName, DataFile which);

// ---- Report folder --------------------------------------------------------

inline constexpr std::string_view kPdfFolderName = "PDF";

// The administration key of a report: code + "_" + date + suffix; suffix is
// empty or kCorrectedLabel.
std::string administrationKey(std::string_view code, std::string_view date,
                              std::string_view suffix = {});
// The report file's name: code + " - " + date + suffix + ".zrp".
std::string reportFileName(std::string_view code, std::string_view date,
                           std::string_view suffix = {});
// The PDF's name by the administration key: "ZOR - " + key + ".pdf".
std::string pdfFileName(std::string_view key);

// <report>/PDF: the PDF copies of the reports.
fs::path pdfFolder(const fs::path& reportFolder);
// <report>/<code> - <date><suffix>.zrp
fs::path reportFile(const fs::path& reportFolder, std::string_view code, std::string_view date,
                    std::string_view suffix = {});
// <report>/PDF/ZOR - <key>.pdf
fs::path reportPdf(const fs::path& reportFolder, std::string_view key);

}  // namespace zor::folders
