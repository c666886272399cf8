#include <gtest/gtest.h>

#include <set>

#include "pagestore/grey.h"
#include "pagestore/paper.h"
#include "pagestore/print_preview.h"
#include "pagestore/units.h"

namespace zor::pagestore {
namespace {

int convert(int v, TUnits from, TUnits to, int dpi = 96) {
    return convertUnits(v, dpi, from, to, 96);
}

TEST(ConvertUnits, ExactMultiplications) {
    EXPECT_EQ(convert(2970, mmLoMetric, mmHiMetric), 29700);
    EXPECT_EQ(convert(1100, mmLoEnglish, mmHiEnglish), 11000);
    EXPECT_EQ(convert(72, mmPoints, mmTWIPS), 1440);
}

TEST(ConvertUnits, TruncatingDivisionsTowardZero) {
    EXPECT_EQ(convert(29709, mmHiMetric, mmLoMetric), 2970);
    EXPECT_EQ(convert(-29, mmHiMetric, mmLoMetric), -2);
    EXPECT_EQ(convert(10999, mmHiEnglish, mmLoEnglish), 1099);
    EXPECT_EQ(convert(39, mmTWIPS, mmPoints), 1);
    EXPECT_EQ(convert(-39, mmTWIPS, mmPoints), -1);
}

TEST(ConvertUnits, OtherPairsRoundHalvesAwayFromZero) {
    EXPECT_EQ(convert(18, mmPoints, mmLoMetric), 64);  // 63.5
    EXPECT_EQ(convert(-18, mmPoints, mmLoMetric), -64);
    EXPECT_EQ(convert(21000, mmHiMetric, mmPixel), 794);   // 793.7
    EXPECT_EQ(convert(29700, mmHiMetric, mmPixel), 1123);  // 1122.5
    EXPECT_EQ(convert(8500, mmHiEnglish, mmHiMetric), 21590);
    EXPECT_EQ(convert(100, mmPixel, mmHiMetric, 300), 847);  // at the device's 300 dpi
}

TEST(ConvertUnits, SameUnitAndPixelsToPixels) {
    EXPECT_EQ(convert(12345, mmTWIPS, mmTWIPS), 12345);
    EXPECT_EQ(convert(100, mmPixel, mmPixel, 300), 313);  // 312.5 at screen 96
    EXPECT_EQ(convert(100, mmPixel, mmPixel, 96), 100);
}

TEST(ConvertUnits, HugeValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(convert(2000000000, mmLoMetric, mmHiMetric), 2147483647);
    EXPECT_EQ(convert(-2000000000, mmPoints, mmTWIPS), -2147483647 - 1);
}

TEST(PaperTable, SixtySevenTypesWithTheDriversPaperNumbers) {
    const auto& table = paperTable();
    ASSERT_EQ(table.size(), 67u);
    std::set<int> numbers;
    for (int i = 0; i < pCustom; ++i) numbers.insert(table[i].paperNumber);
    EXPECT_EQ(numbers.size(), 66u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 68);
    EXPECT_FALSE(numbers.count(48));
    EXPECT_FALSE(numbers.count(49));
    EXPECT_EQ(table[pCustom].paperNumber, 256);
    for (int i = 0; i < pCustom; ++i) {
        EXPECT_GT(table[i].width, 0) << i;
        EXPECT_GT(table[i].height, 0) << i;
    }
}

TEST(PaperTable, TellingRows) {
    struct Row {
        TPaperType type;
        int number, w, h;
        TUnits unit;
    };
    for (const Row& r :
         {Row{pLetter, 1, 8500, 11000, mmHiEnglish}, Row{pLegal, 5, 8500, 14000, mmHiEnglish},
          Row{pA3, 8, 2970, 4200, mmLoMetric}, Row{pA4, 9, 2100, 2970, mmLoMetric},
          Row{pA5, 11, 1480, 2100, mmLoMetric}, Row{pA2, 66, 4200, 5940, mmLoMetric},
          Row{pCustom, 256, 0, 0, mmLoMetric}}) {
        const PaperSize& p = paperSize(r.type);
        EXPECT_EQ(p.paperNumber, r.number);
        EXPECT_EQ(p.width, r.w);
        EXPECT_EQ(p.height, r.h);
        if (r.type != pCustom) EXPECT_EQ(p.unit, r.unit);
    }
    EXPECT_EQ(paperTypeForNumber(9), pA4);
    EXPECT_EQ(paperTypeForNumber(66), pA2);
    EXPECT_FALSE(paperTypeForNumber(48));
}

TEST(PaperSettings, DefaultsAreA4PortraitInHundredthsOfAMillimetre) {
    TPrintPreview store;
    EXPECT_EQ(store.Units(), mmHiMetric);
    EXPECT_EQ(store.PaperType(), pA4);
    EXPECT_EQ(store.Orientation(), poPortrait);
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 29700);
    EXPECT_EQ(store.PaperSizeInPixels(), (emf::Size{794, 1123}));
    EXPECT_EQ(store.Font().name, "Arial");
    EXPECT_EQ(store.Font().size(), 8);
}

TEST(PaperSettings, SizeMatchingComparesAfterTheConversion) {
    TPrintPreview store;
    store.SetPaperType(pA5);
    store.SetPaperSize(21000, 29700);
    EXPECT_EQ(store.PaperType(), pA4);
    store.SetPaperType(pA5);
    store.SetPaperSize(21000, 29709);  // 2970.9 truncates to 2970
    EXPECT_EQ(store.PaperType(), pA4);
    EXPECT_EQ(store.PaperHeight(), 29709);
    store.SetPaperSize(21000, 29710);
    EXPECT_EQ(store.PaperType(), pCustom);
    store.SetPaperSize(21590, 27940);  // Letter: the first of the rows with that size
    EXPECT_EQ(store.PaperType(), pLetter);
}

TEST(PaperSettings, SizesAreForcedIntoRange) {
    TPrintPreview store;
    store.SetPaperWidth(40000);
    EXPECT_EQ(store.PaperWidth(), 32767);
    EXPECT_EQ(store.PaperType(), pCustom);
    store.SetPaperHeight(0);
    EXPECT_EQ(store.PaperHeight(), 1);
    store.SetPaperHeight(-5);
    EXPECT_EQ(store.PaperHeight(), 1);
}

TEST(PaperSettings, LandscapeSwapsAndMatchesInPortraitOrder) {
    TPrintPreview store;
    store.SetOrientation(poLandscape);
    EXPECT_EQ(store.PaperWidth(), 29700);
    EXPECT_EQ(store.PaperHeight(), 21000);
    EXPECT_EQ(store.PaperSizeInPixels(), (emf::Size{1123, 794}));
    store.SetPaperType(pA5);
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 14800);
    store.SetPaperSize(29700, 21000);
    EXPECT_EQ(store.PaperType(), pA4);
    store.SetOrientation(poPortrait);
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 29700);
}

TEST(PaperSettings, CustomKeepsItsSizeAndUnitsConvertIt) {
    TPrintPreview store;
    store.SetPaperSize(12345, 23456);
    ASSERT_EQ(store.PaperType(), pCustom);
    store.SetPaperType(pA4);
    store.SetPaperType(pCustom);
    EXPECT_EQ(store.PaperWidth(), 21000);  // setting custom keeps the current size
    store.SetPaperSize(12345, 23456);
    store.SetUnits(mmLoMetric);
    EXPECT_EQ(store.PaperWidth(), 1234);
    EXPECT_EQ(store.PaperHeight(), 2345);
    store.SetPaperType(pA4);
    store.SetUnits(mmHiEnglish);  // a table paper is taken afresh from the table
    EXPECT_EQ(store.PaperWidth(), 8268);
    EXPECT_EQ(store.PaperHeight(), 11693);
    EXPECT_EQ(store.PaperType(), pA4);
}

TEST(PaperSettings, ChangesAreRefusedWhileComposing) {
    TPrintPreview store;
    store.BeginDoc();
    store.SetPaperType(pA3);
    store.SetOrientation(poLandscape);
    store.SetPaperSize(1000, 1000);
    EXPECT_EQ(store.PaperType(), pA4);
    EXPECT_EQ(store.Orientation(), poPortrait);
    EXPECT_EQ(store.PaperWidth(), 21000);
    store.EndDoc();
    store.SetPaperType(pA3);
    EXPECT_EQ(store.PaperType(), pA3);
}

}  // namespace
}  // namespace zor::pagestore

namespace zor::pagestore {
namespace {

TEST(Grey, WeightsRedGreenAndBlueWithIntegerDivision) {
    EXPECT_EQ(greyOf(255, 0, 0), 76);
    EXPECT_EQ(greyOf(0, 255, 0), 150);
    EXPECT_EQ(greyOf(0, 0, 255), 28);
    EXPECT_EQ(greyOf(255, 255, 255), 255);
}

}  // namespace
}  // namespace zor::pagestore
