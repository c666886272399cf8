// Checks the committed pictures and sounds against tools/asset-manifest.txt,
// and the manifest against the names the program loads.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "asset_manifest.h"
#include "media_headers.h"

namespace zor::assets_test {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = ZOR_SOURCE_DIR;
const fs::path kAssetDir = kSourceDir / "assets";

Manifest loadManifest() {
    std::ifstream in(kSourceDir / "tools" / "asset-manifest.txt");
    EXPECT_TRUE(in) << "tools/asset-manifest.txt cannot be read";
    return parseManifest(in);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string twoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

struct Required {
    std::string path;
    int width = 0;  // 0 for sounds
    int height = 0;
};

// Every file the program loads by name, with the size its screen gives it.
std::vector<Required> requiredFiles() {
    std::vector<Required> files = {
        {"Graphics/blk.jpg", 800, 600},
        {"Graphics/ZORbckgr1.jpg", 800, 600},
        {"Graphics/ZORsplash.jpg", 800, 600},
        {"Audio/start.wav"},
        {"Audio/Save.wav"},
        {"Audio/Tstop.wav"},
    };
    struct ButtonGroup {
        std::string name;
        int width, height;
        std::vector<std::string> states;
    };
    const std::vector<ButtonGroup> buttons = {
        {"NT", 209, 130, {"off", "on"}},
        {"TH", 209, 130, {"off", "on", "red"}},
        {"TRO", 209, 130, {"off", "on"}},
        {"HM", 209, 130, {"off", "on"}},
        {"ST", 209, 130, {"off", "on", "red"}},
        {"OT", 209, 130, {"off", "on"}},
        {"IO", 209, 130, {"off", "on"}},
        {"FV", 209, 130, {"off", "on"}},
        {"FW", 209, 130, {"off", "on"}},
        {"FIN", 209, 130, {"off", "on", "red"}},
        {"TR", 209, 130, {"off", "on"}},
        {"Spk", 40, 40, {"Off", "On"}},
        {"TIMER", 191, 108, {"off"}},
        {"STP", 191, 108, {"red"}},
        {"TG", 191, 108, {"on"}},
        {"PR", 137, 52, {"off", "on"}},
        {"OPEN", 137, 52, {"off", "on"}},
        {"WZN", 137, 52, {"off", "on"}},
    };
    for (const auto& b : buttons) {
        for (const auto& state : b.states) {
            files.push_back({"Graphics/Buttons/Btn" + b.name + state + ".gif", b.width, b.height});
        }
    }
    for (int n = 1; n <= 5; ++n) {
        files.push_back({"Audio/FW/FWn" + twoDigits(n) + ".wav"});
        files.push_back({"Audio/FV/FVn" + twoDigits(n) + ".wav"});
    }
    for (const char* part : {"a", "b"}) {
        for (int e = 1; e <= 3; ++e) {
            files.push_back({"Audio/FW/FWv0" + std::to_string(e) + part + ".wav"});
        }
        for (int i = 1; i <= 12; ++i) {
            files.push_back({"Audio/FW/FWi" + twoDigits(i) + part + ".wav"});
        }
    }
    for (int i = 1; i <= 12; ++i) files.push_back({"Audio/FV/FVi" + twoDigits(i) + ".wav"});
    return files;
}

std::string extensionOf(const std::string& path) {
    return fs::path(path).extension().string();
}

TEST(AssetManifest, IsWellFormedWithUniqueNames) {
    const Manifest manifest = loadManifest();
    for (const auto& error : manifest.errors) ADD_FAILURE() << error;
    ASSERT_FALSE(manifest.entries.empty());

    std::set<std::string> seen;
    for (const auto& entry : manifest.entries) {
        SCOPED_TRACE("line " + std::to_string(entry.line) + ": " + entry.path);
        EXPECT_TRUE(seen.insert(entry.path).second) << "listed twice";
        const std::string ext = extensionOf(entry.path);
        if (ext == ".wav") {
            EXPECT_FALSE(entry.width) << "a sound has no picture size";
        } else {
            EXPECT_TRUE(ext == ".gif" || ext == ".jpg") << "unexpected file type";
            EXPECT_TRUE(entry.width && entry.height) << "a picture needs its size";
        }
    }
}

TEST(AssetManifest, ListsEveryFileTheProgramLoadsAtItsScreenSize) {
    std::map<std::string, ManifestEntry> listed;
    for (const auto& entry : loadManifest().entries) listed[entry.path] = entry;

    const std::vector<Required> required = requiredFiles();
    // Three pictures and three sounds, 36 button pictures, 52 prompts.
    EXPECT_EQ(required.size(), 6u + 36u + 52u);
    for (const auto& file : required) {
        SCOPED_TRACE(file.path);
        const auto it = listed.find(file.path);
        if (it == listed.end()) {
            ADD_FAILURE() << "missing from the manifest";
            continue;
        }
        if (file.width > 0) {
            EXPECT_EQ(it->second.width.value_or(0), file.width);
            EXPECT_EQ(it->second.height.value_or(0), file.height);
        }
    }
}

TEST(AssetFiles, EveryListedFileHasAValidHeaderAndItsSize) {
    for (const auto& entry : loadManifest().entries) {
        SCOPED_TRACE(entry.path);
        const fs::path file = kAssetDir / entry.path;
        if (!fs::is_regular_file(file)) {
            ADD_FAILURE() << "missing under assets/";
            continue;
        }
        const std::string bytes = readFile(file);
        const std::string ext = extensionOf(entry.path);
        if (ext == ".wav") {
            const auto wav = wavFormat(bytes);
            if (!wav) {
                ADD_FAILURE() << "no valid RIFF/WAVE structure";
                continue;
            }
            EXPECT_EQ(wav->formatTag, 1) << "not PCM";
            EXPECT_EQ(wav->channels, 1);
            EXPECT_EQ(wav->sampleRate, 22050);
            EXPECT_EQ(wav->bitsPerSample, 16);
            EXPECT_GT(wav->dataBytes, 0u);
            continue;
        }
        const auto size = ext == ".gif" ? gifSize(bytes) : jpegSize(bytes);
        if (!size) {
            ADD_FAILURE() << "no valid " << ext << " header";
            continue;
        }
        EXPECT_EQ(size->width, entry.width.value_or(0));
        EXPECT_EQ(size->height, entry.height.value_or(0));
        // The report's PDF export embeds JPEG pictures as RGB.
        if (ext == ".jpg") {
            EXPECT_EQ(size->components, 3) << "not a colour JPEG";
        }
    }
}

TEST(AssetFiles, SoundLengthsSuitTheirUse) {
    // Clicks and signals must not hold up the screens; a prompt must carry
    // speech, yet stay short enough to keep the child's attention.
    const std::map<std::string, std::pair<double, double>> signals = {
        {"Audio/start.wav", {0.02, 0.15}},
        {"Audio/Save.wav", {0.2, 1.0}},
        {"Audio/Tstop.wav", {0.05, 0.4}},
    };
    for (const auto& entry : loadManifest().entries) {
        if (extensionOf(entry.path) != ".wav") continue;
        SCOPED_TRACE(entry.path);
        const auto wav = wavFormat(readFile(kAssetDir / entry.path));
        if (!wav) continue;  // reported by the header test
        const auto it = signals.find(entry.path);
        const auto [shortest, longest] =
            it != signals.end() ? it->second : std::pair{0.3, 8.0};
        EXPECT_GE(wav->seconds, shortest);
        EXPECT_LE(wav->seconds, longest);
    }
}

TEST(AssetFiles, NoFileLiesOutsideTheManifest) {
    std::set<std::string> listed;
    for (const auto& entry : loadManifest().entries) listed.insert(entry.path);
    for (const char* folder : {"Graphics", "Audio"}) {
        ASSERT_TRUE(fs::is_directory(kAssetDir / folder)) << folder;
        for (const auto& item : fs::recursive_directory_iterator(kAssetDir / folder)) {
            if (!item.is_regular_file()) continue;
            const std::string path = item.path().lexically_relative(kAssetDir).generic_string();
            EXPECT_TRUE(listed.count(path)) << path << " is not in tools/asset-manifest.txt";
        }
    }
}

TEST(ManifestParser, SkipsCommentsAndReportsMalformedLines) {
    std::istringstream in(
        "# comment\n"
        "\n"
        "Graphics/a.gif|40|40|icon-exit|\n"
        "Audio/b.wav|-|-|speech|Zeg kast.\n"
        "Graphics/c.gif|40|x|icon-info|\n"
        "Graphics/d.gif|40|40|icon-save\n"
        "Graphics/e.gif|0|40|icon-save|\n");
    const Manifest manifest = parseManifest(in);
    ASSERT_EQ(manifest.entries.size(), 2u);
    EXPECT_EQ(manifest.entries[0].path, "Graphics/a.gif");
    EXPECT_EQ(manifest.entries[0].line, 3);
    EXPECT_EQ(manifest.entries[0].width.value_or(0), 40);
    EXPECT_EQ(manifest.entries[1].recipe, "speech");
    EXPECT_FALSE(manifest.entries[1].width);
    ASSERT_EQ(manifest.errors.size(), 3u);
    EXPECT_EQ(manifest.errors[0].rfind("line 5:", 0), 0u);
    EXPECT_EQ(manifest.errors[1].rfind("line 6:", 0), 0u);
    EXPECT_EQ(manifest.errors[2].rfind("line 7:", 0), 0u);
}

}  // namespace
}  // namespace zor::assets_test
