// The list of the program's pictures and sounds (tools/asset-manifest.txt), as
// the asset generator reads it.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace zor::assets_test {

struct ManifestEntry {
    int line = 0;       // line number in the manifest, for messages
    std::string path;   // below assets/, with "/" separators
    std::optional<int> width;   // pictures only
    std::optional<int> height;  // pictures only
    std::string recipe;
};

struct Manifest {
    std::vector<ManifestEntry> entries;
    std::vector<std::string> errors;  // one text per malformed line
};

// Lines are "path|width|height|recipe|text"; blank lines and lines starting
// with "#" are skipped. Sounds carry "-" for width and height.
Manifest parseManifest(std::istream& in);

}  // namespace zor::assets_test
