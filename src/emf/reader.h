#pragma once
// Reads an enhanced metafile record by record, for any writer's pictures.
//
// Usage:
//     emf::Reader reader(bytes);               // checks the header
//     while (auto record = reader.next())      // header first, end record last
//         std::visit(myVisitor, *record);
//
// Every size, count and offset is checked against the record it belongs to and
// the record against the picture, so the reader never reads outside the data and
// never allocates more than the data it was given can fill. Data that breaks the
// format throws emf::FormatError, from the constructor (header) or from next()
// (the record at hand; the records before it were valid). Record types the reader
// has no struct for come as UnknownRecord and may be passed over.
//
// The reader works on the caller's bytes without copying them: the data must
// outlive the reader and every UnknownRecord payload it yields.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "emf/records.h"

namespace zor::emf {

class Reader {
  public:
    // Reads only the first header().bytes bytes; data may go on beyond the picture.
    explicit Reader(std::span<const std::uint8_t> data);

    const Header& header() const { return header_; }

    // The next record, or nothing after the end record.
    std::optional<Record> next();

  private:
    std::span<const std::uint8_t> data_;  // exactly the picture
    Header header_;
    std::size_t position_ = 0;
    bool ended_ = false;
};

// The byte count of the picture that starts at data, after checking its header
// against the data (throws FormatError). Lets a caller find where one picture
// ends in a stream of pictures.
std::size_t pictureSize(std::span<const std::uint8_t> data);

}  // namespace zor::emf
