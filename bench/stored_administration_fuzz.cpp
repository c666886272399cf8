// Fuzz target: the reader of stored administrations on arbitrary file names and
// contents, and the record filled from what it accepts.
// Input: the key, a NUL, the FW file's bytes, a NUL, the FV file's bytes. The
// two files are written as "<key>_FW.wda" and "<key>_FV.vda" in a private
// folder and read back; what the reader accepts must load, score and give an age.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "record/stored_administration.h"

using namespace zor;
namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string name = (fs::temp_directory_path() / "zor-reader-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data())) std::abort();
        return fs::path(name);
    }();
    return folder;
}

void WriteFile(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

// A key that names a file in the folder; anything else becomes the sample's key.
std::string FileKey(std::string_view key) {
    if (key.empty() || key.size() > 60 || key == "." || key == "..") return "K123_05-03-2011";
    for (char c : key) {
        if (c == '/' || c == '\0') return "K123_05-03-2011";
    }
    return std::string(key);
}

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    if (first == std::string_view::npos) return 0;
    const std::size_t second = input.find('\0', first + 1);
    if (second == std::string_view::npos) return 0;
    const std::string key = FileKey(input.substr(0, first));
    const fs::path dataFW = Folder() / (key + "_FW.wda");
    const fs::path dataFV = Folder() / (key + "_FV.vda");
    WriteFile(dataFW, input.substr(first + 1, second - first - 1));
    WriteFile(dataFV, input.substr(second + 1));

    const record::Date today{2026, 12, 10};
    try {
        record::StoredAdministration stored =
            record::ReadStoredAdministration(dataFW, dataFV, today);
        if (stored.afnameDate > record::Date{2026, 12, 11}) Fail("future date", key);
        if (stored.birthDate && !(*stored.birthDate < stored.afnameDate)) Fail("birth order", key);
        const record::Date afname = stored.afnameDate;
        const std::optional<record::Date> birth = stored.birthDate;
        record::AdministrationRecord admin;
        admin.AfnameDate = today;
        record::LoadStoredAdministration(admin, std::move(stored));
        // Every name here has the data-file suffix, so the key was checked.
        if (admin.SubjectKey() != key && admin.SubjectKey() + "_gecorrigeerd" != key) {
            Fail("key", key + " / " + admin.SubjectKey());
        }
        if (birth) admin.ComputeAge(afname, *birth);
        // Accepted results are whole numbers: scoring never meets a bad cell.
        const record::RecordScores scores = admin.ComputeScores();
        if (scores.totals.correctFW > 12 && scores.totals.correctFW < 999) Fail("count", key);
        (void)admin.BuildDataLineFW();
        (void)admin.BuildDataLineFV();
    } catch (const record::StoredAdministrationError&) {
    } catch (const norms::ConversionError& e) {
        Fail("accepted a cell that does not convert", e.what());
    }
    std::error_code ignored;
    fs::remove(dataFW, ignored);
    fs::remove(dataFV, ignored);
    return 0;
}
