#include <gtest/gtest.h>

#include <fstream>

#include "report/picture_file.h"

namespace zor::report {
namespace {

TEST(ReportPictures, HalvingAveragesBlocksAndStopsAtTheSizeNeeded) {
    emf::Bitmap picture{4, 2, std::vector<std::uint8_t>(4 * 2 * 3, 0)};
    // Top-left block: 0, 10, 20, 31 in red -> mean 15.25 rounds to 15.
    picture.rgb[0] = 0;
    picture.rgb[3] = 10;
    picture.rgb[12] = 20;
    picture.rgb[15] = 31;
    const emf::Bitmap half = HalveWhileLarger(picture, 2, 1);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    EXPECT_EQ(half.rgb[0], 15);
    EXPECT_EQ(half.rgb[3], 0);
    EXPECT_EQ(HalveWhileLarger(picture, 3, 1).width, 4);  // halving would go below the need

    const emf::Bitmap logo = HalveWhileLarger(
        LoadJpegPicture(std::string(ZOR_SOURCE_DIR) + "/assets/Graphics/ZORlogo.jpg"), 600, 359);
    EXPECT_EQ(logo.width, 600);
    EXPECT_EQ(logo.height, 360);
}

TEST(ReportPictures, UnreadableFilesNameTheFile) {
    const std::string missing = std::string(ZOR_TEST_DATA_DIR) + "/report/geen.jpg";
    try {
        LoadJpegPicture(missing);
        FAIL() << "no error";
    } catch (const PictureFileError& e) {
        EXPECT_NE(std::string(e.what()).find("geen.jpg"), std::string::npos);
    }
    const std::string notJpeg = std::string(ZOR_TEST_DATA_DIR) + "/report/datamap/Data/K123_05-03-2011_FW.wda";
    EXPECT_THROW(LoadJpegPicture(notJpeg), PictureFileError);
}

}  // namespace
}  // namespace zor::report
