#pragma once
// The page list of the page store: page images (enhanced metafiles) back to back
// in one data stream, one offset per page, and a cache that holds the one page
// last read. Writes and reads the page-list part of the report file.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "pagestore/data_stream.h"

namespace zor::pagestore {

enum class ListChange { Added, Cleared, Loaded };

class TMetafileList {
  public:
    TMetafileList() = default;

    int Count() const { return int(offsets_.size()); }
    std::uint64_t DataSize() const { return stream_ ? stream_->size() : 0; }

    // Appends a page image.
    void Add(std::span<const std::uint8_t> image);
    // The page image at index (0-based), through the cache. Throws
    // EInvalidPreviewData when the page's offset or data are not a page image;
    // the other pages stay readable.
    const std::vector<std::uint8_t>& Get(int index);
    // Puts a changed image in place of page index, moving the pages after it.
    void Rewrite(int index, std::span<const std::uint8_t> image);
    void Clear();

    bool UseTempFile() const { return useTempFile_; }
    void SetUseTempFile(bool value);
    // The temporary file holding the pages, when there is one.
    std::optional<std::filesystem::path> TempFileName() const;

    // The page list: mark "K-PP", N, N offsets, then the whole data stream.
    void SaveToStream(std::ostream& out) const;
    // Reads what SaveToStream wrote. On any failure (EInvalidPreviewData) the
    // list is left as it was.
    void LoadFromStream(std::istream& in);

    std::function<void(ListChange)> OnChange;
    std::function<void(int)> OnPageRewritten;

  private:
    std::unique_ptr<DataStream> newStream() const;
    void notify(ListChange change) {
        if (OnChange) OnChange(change);
    }

    std::vector<std::int32_t> offsets_;
    std::unique_ptr<DataStream> stream_;
    bool useTempFile_ = false;
    std::vector<std::uint8_t> cache_;
    int cacheIndex_ = -1;
};

}  // namespace zor::pagestore
