#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>

#include "fonts/font.h"
#include "fonts/font_files.h"

namespace zor::fonts {
namespace {

struct StandIn {
    std::string_view family;
    std::string_view standIn;
};

// Free fonts with the same advance widths as the common Windows families.
constexpr std::array<StandIn, 4> kStandIns{{
    {"Calibri", "Carlito"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
}};

std::mutex& fontconfigMutex() {
    static std::mutex mutex;
    return mutex;
}

FcConfig* config() {
    static FcConfig* cfg = [] {
        FcInit();
        return FcConfigGetCurrent();
    }();
    return cfg;
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The family names fontconfig reports for its TrueType fonts, sorted and unique.
std::vector<std::string> listFontconfigFamilies() {
    std::lock_guard lock(fontconfigMutex());
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(config(), pattern.get(), objects);
    FcObjectSetDestroy(objects);

    std::vector<std::string> families;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
             ++n) {
            if (name[0] != '@') families.emplace_back(reinterpret_cast<const char*>(name));
        }
    }
    if (set) FcFontSetDestroy(set);

    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

const std::vector<std::string>& fontconfigFamilies() {
    static const std::vector<std::string> families = listFontconfigFamilies();
    return families;
}

bool hasFontconfigFamily(std::string_view family) {
    const auto& families = fontconfigFamilies();
    return std::binary_search(families.begin(), families.end(), family);
}

std::vector<std::string> listTrueTypeFamilies() {
    const auto& families = fontconfigFamilies();
    std::vector<std::string> withStandIns = families;
    for (const auto& s : kStandIns) {
        if (hasFontconfigFamily(s.standIn) && !hasFontconfigFamily(s.family)) {
            withStandIns.emplace_back(s.family);
        }
    }
    std::sort(withStandIns.begin(), withStandIns.end());
    return withStandIns;
}

bool hasFamily(FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
    }
    return false;
}

}  // namespace

const std::vector<std::string>& installedTrueTypeFamilies() {
    static const std::vector<std::string> families = listTrueTypeFamilies();
    return families;
}

bool isFamilyInstalled(std::string_view family) {
    const auto& families = installedTrueTypeFamilies();
    return std::binary_search(families.begin(), families.end(), family);
}

std::optional<std::string> servingFamily(std::string_view requested) {
    if (hasFontconfigFamily(requested)) return std::string(requested);
    for (const auto& s : kStandIns) {
        if (s.family == requested && hasFontconfigFamily(s.standIn)) return std::string(s.standIn);
    }
    return std::nullopt;
}

std::optional<FontFile> findFontFile(const std::string& family, int weight, bool italic) {
    std::lock_guard lock(fontconfigMutex());
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddString(pattern.get(), FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
    FcConfigSubstitute(config(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config(), pattern.get(), &result));
    if (!match || result != FcResultMatch || !hasFamily(match.get(), family)) return std::nullopt;

    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return FontFile{reinterpret_cast<const char*>(file), index};
}

}  // namespace zor::fonts
