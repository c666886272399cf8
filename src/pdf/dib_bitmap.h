#pragma once

// The pixels of a page image's bitmap in the form the PDF writer takes them.

#include <optional>

#include "emf/records.h"
#include "pdf/pdf_image.h"

namespace zor::pdf {

// The part of a device-independent bitmap inside the source rectangle (cut to the bitmap):
// palette indexes and the palette for bitmaps of 8 bits or fewer, else red-green-blue bytes;
// rows top first. With fromBottom, the source y counts from the bottom row up. Nothing for an
// encoding that cannot be decoded or an empty rectangle; PdfInvalidValue "TPdfImage" for a
// bitmap of 8 bits or fewer without palette.
std::optional<PdfBitmap> bitmapFromDib(const emf::Dib& dib, emf::Point source, emf::Size size,
                                       bool fromBottom);

}  // namespace zor::pdf
