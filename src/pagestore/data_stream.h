#pragma once
// The growable byte stream that holds a page list's page images back to back:
// in memory, or in a temporary file (name prefix "PP") that is deleted with it.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace zor::pagestore {

class DataStream {
  public:
    virtual ~DataStream() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly out.size() bytes at offset; throws std::out_of_range beyond the end.
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
    // Writes at offset, growing the stream when needed (offset <= size()).
    virtual void write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    virtual void truncate(std::uint64_t newSize) = 0;
    // Prepares room for a stream of this size, where that saves work.
    virtual void reserve(std::uint64_t) {}
};

class MemoryDataStream final : public DataStream {
  public:
    std::uint64_t size() const override { return bytes_.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void truncate(std::uint64_t newSize) override;
    void reserve(std::uint64_t size) override { bytes_.reserve(size); }

  private:
    std::vector<std::uint8_t> bytes_;
};

class TempFileDataStream final : public DataStream {
  public:
    // Creates a file with a unique name starting with "PP" in the temporary folder;
    // throws std::runtime_error with a Dutch message and the system's reason when that fails.
    TempFileDataStream();
    ~TempFileDataStream() override;  // closes and deletes the file
    TempFileDataStream(const TempFileDataStream&) = delete;
    TempFileDataStream& operator=(const TempFileDataStream&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const override { return size_; }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void truncate(std::uint64_t newSize) override;

  private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Copies the whole of one stream into a new one of the other kind.
std::unique_ptr<DataStream> copyStream(const DataStream& from, bool toTempFile);

}  // namespace zor::pagestore
