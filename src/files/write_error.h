#pragma once
// The error every file writer throws: the file, the system's error number and a
// Dutch message that names the file and gives the system's reason.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace zor::files {

// The system's reason for `error` (an errno value) while writing, as a Dutch
// sentence; the system's own text for numbers without a Dutch wording.
std::string DutchReason(int error);
// The same while reading: a missing name is a missing file, not a missing folder.
std::string DutchReadReason(int error);

class WriteError : public std::runtime_error {
public:
    enum class Target { kFile, kFolder };
    // what(): "Kan bestand "<file>" niet opslaan. <DutchReason(error)>", or for a
    // folder "Kan map "<folder>" niet aanmaken. <DutchReason(error)>".
    WriteError(std::filesystem::path file, int error, Target target = Target::kFile);

    const std::filesystem::path& file() const noexcept { return file_; }
    int error() const noexcept { return error_; }

private:
    std::filesystem::path file_;
    int error_;
};

}  // namespace zor::files
