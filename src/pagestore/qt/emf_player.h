#pragma once
// Plays an enhanced metafile (a stored page image, or any writer's picture) onto
// a QPainter, stretched to a target rectangle.
//
// The picture's frame is mapped onto the target; inside it the records are drawn
// as the platform's drawing context would: mapping modes with window and viewport
// extents and origins, world transforms, pens, brushes, paths, text through the
// installed stand-in fonts (Calibri as Carlito, Arial as Liberation Sans) placed by
// the record's advance array, clipping of text, bitmaps and saved states. Records
// it does not know are passed over. Damaged data ends the playing at the damaged
// record, keeping what was drawn; it never throws.
#include <cstdint>
#include <span>

class QPainter;
class QRectF;
class QImage;

namespace zor::pagestore::qt {

// Returns false when the picture's header could not be read (nothing drawn) or a
// damaged record ended the playing early.
bool playEmf(QPainter& painter, std::span<const std::uint8_t> picture, const QRectF& target);

// Turns every pixel into its grey value (R × 30 + G × 59 + B × 11) / 100.
void toGrey(QImage& image);

}  // namespace zor::pagestore::qt
