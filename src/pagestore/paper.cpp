#include "pagestore/paper.h"

namespace zor::pagestore {
namespace {

constexpr PaperSize mm(int number, int w, int h) { return {number, w, h, mmLoMetric}; }
constexpr PaperSize in(int number, int w, int h) { return {number, w, h, mmHiEnglish}; }

// Metric papers in 0.1 mm, the others in 0.001 inch.
constexpr std::array<PaperSize, PaperTypeCount> Table = {{
    in(1, 8500, 11000),       // Letter
    in(2, 8500, 11000),       // Letter small
    in(3, 11000, 17000),      // Tabloid
    in(4, 17000, 11000),      // Ledger
    in(5, 8500, 14000),       // Legal
    in(6, 5500, 8500),        // Statement
    in(7, 7250, 10500),       // Executive
    mm(8, 2970, 4200),        // A3
    mm(9, 2100, 2970),        // A4
    mm(10, 2100, 2970),       // A4 small
    mm(11, 1480, 2100),       // A5
    mm(12, 2500, 3540),       // B4 (JIS)
    mm(13, 1820, 2570),       // B5 (JIS)
    in(14, 8500, 13000),      // Folio
    mm(15, 2150, 2750),       // Quarto
    in(16, 10000, 14000),     // 10 x 14 in
    in(17, 11000, 17000),     // 11 x 17 in
    in(18, 8500, 11000),      // Note
    in(19, 3875, 8875),       // Envelope #9
    in(20, 4125, 9500),       // Envelope #10
    in(21, 4500, 10375),      // Envelope #11
    in(22, 4750, 11000),      // Envelope #12
    in(23, 5000, 11500),      // Envelope #14
    in(24, 17000, 22000),     // C sheet
    in(25, 22000, 34000),     // D sheet
    in(26, 34000, 44000),     // E sheet
    mm(27, 1100, 2200),       // Envelope DL
    mm(28, 1620, 2290),       // Envelope C5
    mm(29, 3240, 4580),       // Envelope C3
    mm(30, 2290, 3240),       // Envelope C4
    mm(31, 1140, 1620),       // Envelope C6
    mm(32, 1140, 2290),       // Envelope C65
    mm(33, 2500, 3530),       // Envelope B4
    mm(34, 1760, 2500),       // Envelope B5
    mm(35, 1760, 1250),       // Envelope B6
    mm(36, 1100, 2300),       // Envelope Italy
    in(37, 3875, 7500),       // Envelope Monarch
    in(38, 3625, 6500),       // 6 3/4 envelope
    in(39, 14875, 11000),     // US standard fanfold
    in(40, 8500, 12000),      // German standard fanfold
    in(41, 8500, 13000),      // German legal fanfold
    mm(42, 2500, 3530),       // B4 (ISO)
    mm(43, 1000, 1480),       // Japanese postcard
    in(44, 9000, 11000),      // 9 x 11 in
    in(45, 10000, 11000),     // 10 x 11 in
    in(46, 15000, 11000),     // 15 x 11 in
    mm(47, 2200, 2200),       // Envelope invite
    in(50, 9500, 12000),      // Letter extra
    in(51, 9500, 15000),      // Legal extra
    in(52, 11690, 18000),     // Tabloid extra
    in(53, 9270, 12690),      // A4 extra
    in(54, 8500, 11000),      // Letter transverse
    mm(55, 2100, 2970),       // A4 transverse
    in(56, 9500, 12000),      // Letter extra transverse
    mm(57, 2270, 3560),       // Super A
    mm(58, 3050, 4870),       // Super B
    in(59, 8500, 12690),      // Letter plus
    mm(60, 2100, 3300),       // A4 plus
    mm(61, 1480, 2100),       // A5 transverse
    mm(62, 1820, 2570),       // B5 (JIS) transverse
    mm(63, 3220, 4450),       // A3 extra
    mm(64, 1740, 2350),       // A5 extra
    mm(65, 2010, 2760),       // B5 (ISO) extra
    mm(66, 4200, 5940),       // A2
    mm(67, 2970, 4200),       // A3 transverse
    mm(68, 3220, 4450),       // A3 extra transverse
    {256, 0, 0, mmLoMetric},  // custom
}};

}  // namespace

const std::array<PaperSize, PaperTypeCount>& paperTable() { return Table; }

TPaperType matchPaperType(int width, int height, TUnits units, int screenDotsPerInch) {
    for (int i = 0; i < pCustom; ++i) {
        const PaperSize& row = Table[i];
        if (convertUnits(width, screenDotsPerInch, units, row.unit, screenDotsPerInch) ==
                row.width &&
            convertUnits(height, screenDotsPerInch, units, row.unit, screenDotsPerInch) ==
                row.height)
            return TPaperType(i);
    }
    return pCustom;
}

std::optional<TPaperType> paperTypeForNumber(int paperNumber) {
    for (int i = 0; i < PaperTypeCount; ++i)
        if (Table[i].paperNumber == paperNumber) return TPaperType(i);
    return std::nullopt;
}

}  // namespace zor::pagestore
