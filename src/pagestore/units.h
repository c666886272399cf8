#pragma once
// Page units of the page store and the conversion between them.
namespace zor::pagestore {

enum TUnits {
    mmPixel,      // device pixel
    mmLoMetric,   // 0.1 mm
    mmHiMetric,   // 0.01 mm
    mmLoEnglish,  // 0.01 inch
    mmHiEnglish,  // 0.001 inch
    mmTWIPS,      // 1/1440 inch
    mmPoints,     // 1/72 inch
};

// Converts value from one unit to another; dotsPerInch is the device's for
// mmPixel, screenDotsPerInch the screen's (used for pixels to pixels).
// Rounds to nearest (halves away from zero), except that 0.1 mm -> 0.01 mm,
// 0.01 inch -> 0.001 inch and points -> twips multiply exactly and the reverse
// three divide with truncation toward zero.
int convertUnits(int value, int dotsPerInch, TUnits from, TUnits to, int screenDotsPerInch);

}  // namespace zor::pagestore
