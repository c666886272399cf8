#include "fonts/font.h"

#include <map>
#include <tuple>

#include "fonts/font_files.h"

namespace zor::fonts {

std::shared_ptr<const FontFace> resolveFont(const FontSpec& spec) {
    using Key = std::tuple<std::string, int, bool>;
    static std::mutex mutex;
    static std::map<Key, std::shared_ptr<const FontFace>> cache;

    std::lock_guard lock(mutex);
    Key key{spec.family, spec.weight, spec.italic};
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::shared_ptr<const FontFace> face;
    if (auto family = servingFamily(spec.family)) {
        if (auto file = findFontFile(*family, spec.weight, spec.italic)) {
            face = std::make_shared<const FontFace>(spec.family, file->path, file->index);
        }
    }
    cache.emplace(std::move(key), face);
    return face;
}

}  // namespace zor::fonts
