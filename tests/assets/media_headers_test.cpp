#include "media_headers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace zor::assets_test {
namespace {

std::string bytesOf(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

std::string le16(unsigned v) { return bytesOf({int(v & 0xFF), int(v >> 8 & 0xFF)}); }
std::string le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

// A JPEG segment: marker, big-endian length (counting itself), body.
std::string segment(int marker, const std::string& body) {
    const auto length = static_cast<unsigned>(body.size() + 2);
    return bytesOf({0xFF, marker, int(length >> 8), int(length & 0xFF)}) + body;
}

std::string frameHeader(int width, int height, int components = 3) {
    return bytesOf({8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, components}) +
           std::string(3 * components, '\x11');
}

const std::string kSoi = bytesOf({0xFF, 0xD8});

TEST(GifSize, ReadsTheLogicalScreenOfBothVersions) {
    const auto a = gifSize("GIF89a" + le16(209) + le16(130) + std::string(20, '\0'));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->width, 209);
    EXPECT_EQ(a->height, 130);
    const auto b = gifSize("GIF87a" + le16(800) + le16(600));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width, 800);
    EXPECT_EQ(b->height, 600);
}

TEST(GifSize, RejectsOtherSignaturesAndShortFiles) {
    EXPECT_FALSE(gifSize("GIF88a" + le16(1) + le16(1)));
    EXPECT_FALSE(gifSize(kSoi + std::string(20, '\0')));
    EXPECT_FALSE(gifSize("GIF89a" + le16(1)));
}

TEST(JpegSize, FindsTheFrameAfterOtherSegmentsAndFillBytes) {
    const std::string jfif = segment(0xE0, "JFIF" + std::string(10, '\0'));
    const std::string table = segment(0xDB, std::string(65, '\x01'));
    const auto baseline = jpegSize(kSoi + jfif + table + segment(0xC0, frameHeader(800, 600)));
    ASSERT_TRUE(baseline);
    EXPECT_EQ(baseline->width, 800);
    EXPECT_EQ(baseline->height, 600);
    EXPECT_EQ(baseline->components, 3);

    const std::string fill = bytesOf({0xFF, 0xFF});
    const auto progressive = jpegSize(kSoi + table + fill + segment(0xC2, frameHeader(443, 190)));
    ASSERT_TRUE(progressive);
    EXPECT_EQ(progressive->width, 443);
    EXPECT_EQ(progressive->height, 190);

    const auto grey = jpegSize(kSoi + segment(0xC0, frameHeader(630, 175, 1)));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->components, 1);
}

TEST(JpegSize, HuffmanTableMarkerIsNoFrame) {
    // C4 lies in the frame-marker range but defines Huffman tables.
    const std::string huffman = segment(0xC4, frameHeader(1, 1));
    const auto size = jpegSize(kSoi + huffman + segment(0xC1, frameHeader(340, 160)));
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 340);
    EXPECT_EQ(size->height, 160);
}

TEST(JpegSize, RejectsBrokenFiles) {
    EXPECT_FALSE(jpegSize("GIF89a" + std::string(20, '\0')));
    // Scan data before any frame header.
    EXPECT_FALSE(jpegSize(kSoi + segment(0xDA, std::string(10, '\0'))));
    // A segment whose length runs past the end.
    std::string cut = kSoi + segment(0xC0, frameHeader(800, 600));
    cut.resize(cut.size() - 5);
    EXPECT_FALSE(jpegSize(cut));
    // Garbage where a marker should be.
    EXPECT_FALSE(jpegSize(kSoi + "xyz" + segment(0xC0, frameHeader(8, 8))));
    EXPECT_FALSE(jpegSize(kSoi));
}

struct WavParts {
    unsigned formatTag = 1;
    unsigned channels = 1;
    std::uint32_t rate = 22050;
    unsigned bits = 16;
    std::string extraChunks;  // placed between "fmt " and "data"
    std::uint32_t dataBytes = 4410;
};

std::string wavFile(const WavParts& p) {
    const unsigned block = p.channels * (p.bits / 8);
    const std::string fmt = "fmt " + le32(16) + le16(p.formatTag) + le16(p.channels) +
                            le32(p.rate) + le32(p.rate * block) + le16(block) + le16(p.bits);
    const std::string data = "data" + le32(p.dataBytes) + std::string(p.dataBytes, '\0');
    const std::string body = "WAVE" + fmt + p.extraChunks + data;
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

TEST(WavFormat, ReadsFormatAndDuration) {
    const auto wav = wavFormat(wavFile({}));
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->formatTag, 1);
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->sampleRate, 22050);
    EXPECT_EQ(wav->bitsPerSample, 16);
    EXPECT_EQ(wav->dataBytes, 4410u);
    EXPECT_DOUBLE_EQ(wav->seconds, 0.1);
}

TEST(WavFormat, SkipsOtherChunksIncludingTheirPadByte) {
    WavParts parts;
    parts.extraChunks = "LIST" + le32(3) + "abc" + std::string(1, '\0');
    const auto wav = wavFormat(wavFile(parts));
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->dataBytes, 4410u);
}

TEST(WavFormat, ReportsTheFormatTagOfCompressedSound) {
    WavParts parts;
    parts.formatTag = 3;  // IEEE float: a valid file, but no PCM
    parts.bits = 32;
    const auto wav = wavFormat(wavFile(parts));
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->formatTag, 3);
}

TEST(WavFormat, RejectsBrokenStructure) {
    const std::string good = wavFile({});
    EXPECT_FALSE(wavFormat("RIFX" + good.substr(4)));
    EXPECT_FALSE(wavFormat(good.substr(0, 8) + "AVI " + good.substr(12)));
    // The RIFF size promises more than the file holds.
    EXPECT_FALSE(wavFormat(good.substr(0, good.size() - 10)));
    // A data chunk that claims more bytes than the RIFF chunk holds.
    std::string overlong = good;
    overlong.replace(overlong.find("data") + 4, 4, le32(100000));
    EXPECT_FALSE(wavFormat(overlong));
    // Byte rate that contradicts rate and block size.
    std::string rate = good;
    rate.replace(28, 4, le32(12345));
    EXPECT_FALSE(wavFormat(rate));
    // No data chunk at all.
    const std::string noData = "WAVE" + good.substr(12, 24);
    EXPECT_FALSE(wavFormat("RIFF" + le32(static_cast<std::uint32_t>(noData.size())) + noData));
}

}  // namespace
}  // namespace zor::assets_test
