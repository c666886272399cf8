#pragma once

// Deflate compression of stream data, and the process-wide store of the compressed form of
// pictures, which are the same on every page of every report and cost most of a file's
// writing time when compressed afresh.

#include <memory>
#include <string>
#include <string_view>

namespace zor::pdf {

// The deflated form of data (zlib stream with header and checksum) at level 1-12. Raises
// std::runtime_error when the compressor fails.
std::string deflate(std::string_view data, int level);

// The deflated form of data at level, compressed the first time these exact bytes are asked for
// at this level and handed out again on later calls for the life of the process. Safe to call from
// several threads. Once the store holds kRememberedBytesLimit bytes of data, further data are
// compressed each time and not remembered.
std::shared_ptr<const std::string> deflateRemembered(std::string_view data, int level);

inline constexpr std::size_t kRememberedBytesLimit = 64u << 20;

}  // namespace zor::pdf
