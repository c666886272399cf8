#pragma once

// Errors the PDF writer raises; their messages name the operation that was refused.

#include <stdexcept>

namespace zor::pdf {

// An operation that the document's current state does not allow (e.g. "AddPage").
class PdfInvalidOperation : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value the writer cannot use (e.g. "SetFontSize", "SetFont Arial").
class PdfInvalidValue : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace zor::pdf
