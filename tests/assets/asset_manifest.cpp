#include "asset_manifest.h"

#include <charconv>
#include <string_view>

namespace zor::assets_test {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t bar = line.find('|'); bar != std::string_view::npos;
         bar = line.find('|', start)) {
        fields.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<int> positiveNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value <= 0) return std::nullopt;
    return value;
}

}  // namespace

Manifest parseManifest(std::istream& in) {
    Manifest manifest;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line.front() == '#') continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != 5) {
            manifest.errors.push_back(where + "expected 5 fields separated by '|'");
            continue;
        }
        ManifestEntry entry;
        entry.line = number;
        entry.path = fields[0];
        entry.recipe = fields[3];
        if (fields[1] != "-" || fields[2] != "-") {
            entry.width = positiveNumber(fields[1]);
            entry.height = positiveNumber(fields[2]);
            if (!entry.width || !entry.height) {
                manifest.errors.push_back(where + "width and height must be positive numbers or '-'");
                continue;
            }
        }
        if (entry.path.empty() || entry.recipe.empty()) {
            manifest.errors.push_back(where + "path and recipe must not be empty");
            continue;
        }
        manifest.entries.push_back(std::move(entry));
    }
    return manifest;
}

}  // namespace zor::assets_test
