#pragma once
// Errors of the page store, each carrying its message.
#include <stdexcept>

namespace zor::pagestore {

// Data that is not in the report file format, or a stored page that is damaged.
class EInvalidPreviewData : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A page image or page canvas that cannot be made.
class EOutOfMemory : public std::runtime_error {
  public:
    EOutOfMemory() : std::runtime_error("Not enough memory to create a new page") {}
};

inline constexpr const char* NotPreviewDataMessage = "The content is not Print Preview data";

}  // namespace zor::pagestore
