#include "pagestore/metafile_list.h"

#include <algorithm>
#include <istream>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>

#include "emf/reader.h"
#include "pagestore/errors.h"
#include "pagestore/stream_io.h"

namespace zor::pagestore {
namespace {

constexpr std::uint32_t PageListMark = 0x50502D4B;  // "K-PP"
constexpr std::size_t CopyBlock = 61440;
constexpr std::size_t HeaderBytes = 88;

[[noreturn]] void badPage(int index, const std::string& why) {
    throw EInvalidPreviewData("Pagina " + std::to_string(index + 1) + " is beschadigd: " + why);
}

}  // namespace

std::unique_ptr<DataStream> TMetafileList::newStream() const {
    if (useTempFile_) return std::make_unique<TempFileDataStream>();
    return std::make_unique<MemoryDataStream>();
}

void TMetafileList::Add(std::span<const std::uint8_t> image) {
    if (!stream_) stream_ = newStream();
    const std::uint64_t at = stream_->size();
    if (at > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
        throw EOutOfMemory();  // offsets are 32-bit in the report file
    stream_->write(at, image);
    offsets_.push_back(std::int32_t(at));
    notify(ListChange::Added);
}

const std::vector<std::uint8_t>& TMetafileList::Get(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("no such page");
    if (cacheIndex_ == index) return cache_;
    cacheIndex_ = -1;
    cache_.clear();
    const std::int64_t offset = offsets_[std::size_t(index)];
    const std::uint64_t size = DataSize();
    if (offset < 0 || std::uint64_t(offset) >= size)
        badPage(index, "de plaats ligt buiten de gegevens.");
    const std::uint64_t available = size - std::uint64_t(offset);
    if (available < HeaderBytes) badPage(index, "de gegevens houden op in de kop.");
    std::vector<std::uint8_t> header(HeaderBytes);
    stream_->read(std::uint64_t(offset), header);
    const std::uint32_t total = std::uint32_t(header[48]) | (std::uint32_t(header[49]) << 8) |
                                (std::uint32_t(header[50]) << 16) |
                                (std::uint32_t(header[51]) << 24);
    if (total < HeaderBytes || total > available) badPage(index, "de grootte past niet bij de gegevens.");
    std::vector<std::uint8_t> image(total);
    stream_->read(std::uint64_t(offset), image);
    try {
        emf::Reader reader(image);
        while (reader.next()) {
        }
    } catch (const emf::FormatError& e) {
        badPage(index, std::string("de tekening is ongeldig (") + e.what() + ").");
    }
    cache_ = std::move(image);
    cacheIndex_ = index;
    return cache_;
}

void TMetafileList::Rewrite(int index, std::span<const std::uint8_t> image) {
    if (index < 0 || index >= Count()) throw std::out_of_range("no such page");
    const std::vector<std::uint8_t> newImage(image.begin(), image.end());
    const std::uint64_t offset = std::uint64_t(std::max(offsets_[std::size_t(index)], 0));
    const bool last = index == Count() - 1;
    const std::uint64_t size = DataSize();
    const std::uint64_t end =
        last ? size : std::uint64_t(std::max(offsets_[std::size_t(index) + 1], 0));
    if (offset > size || end < offset || end > size)
        badPage(index, "de plaatsen passen niet bij de gegevens.");
    const std::uint64_t oldLength = end - offset;
    const std::int64_t growth = std::int64_t(newImage.size()) - std::int64_t(oldLength);
    std::vector<std::uint8_t> tail;
    if (growth != 0 && !last) {
        tail.resize(std::size_t(size - end));
        stream_->read(end, tail);
    }
    stream_->write(offset, newImage);
    if (growth != 0 && !last) {
        for (std::size_t i = std::size_t(index) + 1; i < offsets_.size(); ++i)
            offsets_[i] = std::int32_t(std::int64_t(offsets_[i]) + growth);
        stream_->write(offset + newImage.size(), tail);
    }
    if (growth < 0) stream_->truncate(size - std::uint64_t(-growth));
    cache_ = newImage;
    cacheIndex_ = index;
    if (OnPageRewritten) OnPageRewritten(index);
}

void TMetafileList::Clear() {
    cache_.clear();
    cacheIndex_ = -1;
    offsets_.clear();
    stream_.reset();  // a temporary file is deleted with its stream
    notify(ListChange::Cleared);
}

void TMetafileList::SetUseTempFile(bool value) {
    if (value == useTempFile_) return;
    if (stream_) stream_ = copyStream(*stream_, value);
    useTempFile_ = value;
}

std::optional<std::filesystem::path> TMetafileList::TempFileName() const {
    if (auto* file = dynamic_cast<const TempFileDataStream*>(stream_.get())) return file->path();
    return std::nullopt;
}

void TMetafileList::SaveToStream(std::ostream& out) const {
    writeU32(out, PageListMark);
    writeU32(out, std::uint32_t(offsets_.size()));
    for (std::int32_t offset : offsets_) writeU32(out, std::uint32_t(offset));
    if (!stream_) return;
    std::vector<std::uint8_t> block;
    for (std::uint64_t at = 0; at < stream_->size(); at += block.size()) {
        block.resize(std::size_t(std::min<std::uint64_t>(CopyBlock, stream_->size() - at)));
        stream_->read(at, block);
        out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size()));
    }
}

void TMetafileList::LoadFromStream(std::istream& in) {
    const auto mark = readU32(in);
    if (!mark || *mark != PageListMark) throw EInvalidPreviewData(NotPreviewDataMessage);
    const auto count = readU32(in);
    if (!count) throw EInvalidPreviewData("Het rapportbestand houdt op voor het aantal pagina's.");
    if (std::int32_t(*count) < 0)
        throw EInvalidPreviewData("Het rapportbestand noemt een negatief aantal pagina's.");
    // The offsets are read one by one, so a count larger than the data only costs
    // the data that is really there.
    std::vector<std::int32_t> offsets;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto offset = readU32(in);
        if (!offset) throw EInvalidPreviewData("Het rapportbestand houdt op in de lijst van pagina's.");
        offsets.push_back(std::int32_t(*offset));
    }
    auto stream = newStream();
    // The rest of a seekable stream is known: room for it is made at once.
    const auto here = in.tellg();
    if (here != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        const auto end = in.tellg();
        if (end != std::istream::pos_type(-1) && end > here)
            stream->reserve(std::uint64_t(end - here));
        in.seekg(here);
    }
    in.clear();
    std::vector<std::uint8_t> block(CopyBlock);
    for (;;) {
        in.read(reinterpret_cast<char*>(block.data()), std::streamsize(block.size()));
        const std::size_t got = std::size_t(in.gcount());
        if (got == 0) break;
        stream->write(stream->size(), std::span(block).first(got));
    }
    offsets_ = std::move(offsets);
    stream_ = std::move(stream);
    cache_.clear();
    cacheIndex_ = -1;
    notify(ListChange::Loaded);
}

}  // namespace zor::pagestore
