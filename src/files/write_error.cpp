#include "files/write_error.h"

#include <cerrno>
#include <cstring>

namespace zor::files {

std::string DutchReason(int error) {
    switch (error) {
    case ENOSPC: return "De schijf is vol.";
    case EDQUOT: return "De schijfruimte die voor deze gebruiker is toegestaan, is op.";
    case EACCES:
    case EPERM: return "Geen toestemming (toegang geweigerd).";
    case EROFS: return "De schijf is alleen-lezen.";
    case ENOENT: return "De map bestaat niet.";
    case ENOTDIR: return "Een deel van het pad is geen map.";
    case EISDIR: return "Er staat een map met deze naam.";
    case EEXIST: return "Er staat al iets met deze naam.";
    case EIO: return "De schijf gaf een lees- of schrijffout.";
    case ENAMETOOLONG: return "De naam is te lang.";
    case EFBIG: return "Het bestand wordt te groot.";
    case EMFILE:
    case ENFILE: return "Er zijn te veel bestanden tegelijk geopend.";
    case ELOOP: return "Het pad bevat te veel symbolische koppelingen.";
    case EBUSY: return "Het bestand is in gebruik.";
    case ETXTBSY: return "Het bestand is in gebruik.";
    case EXDEV: return "Het bestand kan niet naar een andere schijf worden verplaatst.";
    case ENOMEM: return "Er is niet genoeg geheugen.";
    default: return std::string(std::strerror(error)) + ".";
    }
}

std::string DutchReadReason(int error) {
    if (error == ENOENT) return "Het bestand bestaat niet.";
    return DutchReason(error);
}

WriteError::WriteError(std::filesystem::path file, int error, Target target)
    : std::runtime_error((target == Target::kFile ? "Kan bestand \"" : "Kan map \"") +
                         file.string() +
                         (target == Target::kFile ? "\" niet opslaan. " : "\" niet aanmaken. ") +
                         DutchReason(error)),
      file_(std::move(file)),
      error_(error) {}

}  // namespace zor::files
