#include "pdf/pdf_deflate.h"

#include <libdeflate.h>

#include <functional>
#include <mutex>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zor::pdf {
namespace {

// The remembered compressed forms, keyed by level and a hash of the data; the data are kept to
// tell apart different data with the same hash.
class RememberedForms {
  public:
    std::shared_ptr<const std::string> find(std::string_view data, int level, std::size_t hash) {
        std::lock_guard lock(mutex_);
        auto [first, last] = forms_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (it->second.level == level && it->second.data == data) return it->second.deflated;
        }
        return nullptr;
    }

    void add(std::string_view data, int level, std::size_t hash,
             std::shared_ptr<const std::string> deflated) {
        std::lock_guard lock(mutex_);
        if (heldBytes_ + data.size() > kRememberedBytesLimit) return;
        auto [first, last] = forms_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (it->second.level == level && it->second.data == data) return;  // another thread
        }
        heldBytes_ += data.size();
        forms_.emplace(hash, Form{std::string(data), level, std::move(deflated)});
    }

  private:
    struct Form {
        std::string data;
        int level;
        std::shared_ptr<const std::string> deflated;
    };
    std::mutex mutex_;
    std::unordered_multimap<std::size_t, Form> forms_;
    std::size_t heldBytes_ = 0;
};

// A hash of the size and of at most 4,096 bytes spread evenly over the data: hashing all of a
// picture costs more than the comparison that a match needs anyway.
std::size_t sampledHash(std::string_view data) {
    constexpr std::size_t kSamples = 4096;
    if (data.size() <= kSamples) return std::hash<std::string_view>{}(data);
    std::string sample(kSamples + sizeof(std::size_t), '\0');
    const std::size_t step = data.size() / kSamples;
    for (std::size_t i = 0; i < kSamples; ++i) sample[i] = data[i * step];
    const std::size_t size = data.size();
    sample.replace(kSamples, sizeof size, reinterpret_cast<const char*>(&size), sizeof size);
    return std::hash<std::string>{}(sample);
}

RememberedForms& rememberedForms() {
    static RememberedForms forms;
    return forms;
}

}  // namespace

std::string deflate(std::string_view data, int level) {
    struct Compressor {
        libdeflate_compressor* handle;
        ~Compressor() { libdeflate_free_compressor(handle); }
    };
    if (level < 1 || level > 12) throw std::runtime_error("Compressing a PDF stream failed");
    // A compressor holds its working memory; one per level and thread is kept.
    thread_local std::vector<std::unique_ptr<Compressor>> compressors(13);
    auto& compressor = compressors[std::size_t(level)];
    if (!compressor) {
        libdeflate_compressor* handle = libdeflate_alloc_compressor(level);
        if (!handle) throw std::runtime_error("Compressing a PDF stream failed");
        compressor.reset(new Compressor{handle});
    }
    std::string result(libdeflate_zlib_compress_bound(compressor->handle, data.size()), '\0');
    std::size_t size = libdeflate_zlib_compress(compressor->handle, data.data(), data.size(),
                                                result.data(), result.size());
    if (size == 0) throw std::runtime_error("Compressing a PDF stream failed");
    result.resize(size);
    return result;
}

std::shared_ptr<const std::string> deflateRemembered(std::string_view data, int level) {
    const std::size_t hash = sampledHash(data);
    if (auto known = rememberedForms().find(data, level, hash)) return known;
    auto deflated = std::make_shared<const std::string>(deflate(data, level));
    rememberedForms().add(data, level, hash, deflated);
    return deflated;
}

}  // namespace zor::pdf
