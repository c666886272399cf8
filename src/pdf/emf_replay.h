#pragma once

// Replays an enhanced metafile page image onto the current page of a PDF document: the mapping
// from logical units to points, pens and brushes, shapes, text and bitmaps become PDF content.

#include <cstdint>
#include <span>
#include <stdexcept>

#include "pdf/pdf_document.h"

namespace zor::pdf {

// A page image the replay cannot follow: more than 10 nested saved states, a restore without a
// saved state, or an object index outside the picture's object table. Data that breaks the
// metafile format raise emf::FormatError.
class PageImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Draws every supported record of the page image onto the document's current page, shifted by
// (offsetX, offsetY) points. Raises PdfInvalidOperation "GetPage" when no page was added.
void replayPageImage(TPdfDocument& document, std::span<const std::uint8_t> pageImage,
                     double offsetX = 0, double offsetY = 0);

}  // namespace zor::pdf
