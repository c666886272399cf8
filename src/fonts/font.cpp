#include "fonts/font.h"

#include <map>
#include <tuple>

#include "fonts/font_files.h"

namespace zor::fonts {

std::shared_ptr<const FontFace> resolveFont(const FontSpec& wanted) {
    using Key = std::tuple<std::string, int, bool>;
    static std::mutex mutex;
    static std::map<Key, std::shared_ptr<const FontFace>> cache;

    std::lock_guard lock(mutex);
    Key key{wanted.family, wanted.weight, wanted.italic};
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::shared_ptr<const FontFace> face;
    if (auto family = servingFamily(wanted.family)) {
        if (auto file = findFontFile(*family, wanted.weight, wanted.italic)) {
            face = std::make_shared<const FontFace>(file->path, file->index);
        }
    }
    cache.emplace(std::move(key), face);
    return face;
}

}  // namespace zor::fonts
