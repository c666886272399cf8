#include "shell/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "shell/folders.h"
#include "ui_fixture.h"

namespace zor::shell {
namespace {

Environment envOf(std::map<std::string, std::string> vars) {
    return [vars](const std::string& name) -> std::optional<std::string> {
        auto it = vars.find(name);
        if (it == vars.end()) return std::nullopt;
        return it->second;
    };
}

struct SettingsTest : ::testing::Test {
    std::filesystem::path dir = ui::testing::freshFolder("settings");
    std::filesystem::path file = dir / "settings.ini";
    void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
};

TEST_F(SettingsTest, ReadsValuesOfTheKeySectionOnly) {
    write(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\ndatapath=/wrong\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n"
        "DataPath=/home/tl/ZOR Data\r\ntrpath=/home/tl/Rapporten\r\n"
        "[Elders]\r\ntrpath=/wrong\r\n");
    IniSettingsStore store(file);
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), "/home/tl/ZOR Data");
    EXPECT_EQ(store.readString(kSettingsKey, kReportPathValue), "/home/tl/Rapporten");
    EXPECT_EQ(store.readString("\\SOFTWARE\\Other", "datapath"), "/wrong");
}

TEST_F(SettingsTest, MissingFileKeyOrValueReadsEmpty) {
    EXPECT_EQ(IniSettingsStore(dir / "none.ini").readString(kSettingsKey, kDataPathValue), "");
    write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\ntrpath=/r\n");
    EXPECT_EQ(IniSettingsStore(file).readString(kSettingsKey, kDataPathValue), "");
    EXPECT_EQ(datapathFrom(IniSettingsStore(file)), "\\");
    EXPECT_EQ(reportFolderFrom(IniSettingsStore(dir / "none.ini")), "");
}

TEST_F(SettingsTest, LastLineOfANameCountsAndTheFileIsReadAfreshEachTime) {
    IniSettingsStore store(file);
    write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath=/a\r\ndatapath=/b\r\n");
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), "/b");
    write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath=/c\r\n");
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), "/c");
}

TEST_F(SettingsTest, AudioLatencyIsWholeMillisecondsAndAnyOtherValueIsIgnoredWithOneLogLine) {
    const auto read = [&](const std::string& value, std::vector<std::string>& log) {
        write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n" + value);
        return AudioLatencyOverrideMs(IniSettingsStore(file), [&](auto& l) { log.push_back(l); });
    };
    std::vector<std::string> log;
    EXPECT_EQ(read("AudioLatency= 180 \r\n", log), 180);
    EXPECT_EQ(read("audiolatency=0\r\n", log), 0);
    EXPECT_EQ(read("datapath=x\r\n", log), std::nullopt);
    EXPECT_TRUE(log.empty());
    for (const char* bad : {"-20", "12.5", "150ms", "2001", "99999999999999999999"}) {
        std::vector<std::string> badLog;
        EXPECT_EQ(read(std::string("audiolatency=") + bad + "\r\n", badLog), std::nullopt) << bad;
        ASSERT_EQ(badLog.size(), 1u) << bad;
        EXPECT_NE(badLog[0].find("audiolatency"), std::string::npos);
        EXPECT_NE(badLog[0].find(bad), std::string::npos);
    }
}

TEST(SettingsFileTest, CandidatesFollowTheEnvironment) {
    using Paths = std::vector<std::filesystem::path>;
    EXPECT_EQ(settingsFileCandidates(
                  envOf({{"ZOR_SETTINGS_FILE", "/x/s.ini"}, {"XDG_CONFIG_HOME", "/h"}})),
              Paths{"/x/s.ini"});
    EXPECT_EQ(settingsFileCandidates(envOf({{"HOME", "/home/tl"}})),
              (Paths{"/home/tl/.config/zor/settings.ini", "/etc/xdg/zor/settings.ini"}));
    EXPECT_EQ(settingsFileCandidates(envOf({{"HOME", "/home/tl"},
                                            {"XDG_CONFIG_HOME", "/cfg"},
                                            {"XDG_CONFIG_DIRS", "/a:/b"},
                                            {"ZOR_SETTINGS_FILE", ""}})),
              (Paths{"/cfg/zor/settings.ini", "/a/zor/settings.ini", "/b/zor/settings.ini"}));
}

TEST_F(SettingsTest, TheFirstExistingCandidateIsTheStore) {
    std::filesystem::create_directories(dir / "b" / "zor");
    std::ofstream(dir / "b" / "zor" / "settings.ini")
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\ndatapath=/system\n";
    IniSettingsStore store(
        envOf({{"XDG_CONFIG_HOME", (dir / "home").string()},
               {"XDG_CONFIG_DIRS", (dir / "a").string() + ":" + (dir / "b").string()}}));
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), "/system");
    IniSettingsStore none(envOf(
        {{"XDG_CONFIG_HOME", (dir / "home").string()}, {"XDG_CONFIG_DIRS", (dir / "a").string()}}));
    EXPECT_FALSE(none.file());
    EXPECT_EQ(none.readString(kSettingsKey, kDataPathValue), "");
}

TEST_F(SettingsTest, ReadsWhatTheInstallationStepWrites) {
    const std::string command = "ZOR_SETTINGS_FILE='" + file.string() + "' ZOR_DATA_DIR='" +
                                (dir / "My Data").string() + "' ZOR_REPORT_DIR='" +
                                (dir / "Rapporten").string() +
                                "' bash '" ZOR_SOURCE_DIR "/scripts/prepare-folders.sh' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    IniSettingsStore store(file);
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), (dir / "My Data").string());
    EXPECT_EQ(store.readString(kSettingsKey, kReportPathValue), (dir / "Rapporten").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "My Data" / "Incomplete afnames"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Rapporten" / "PDF"));
}

TEST(FoldersTest, FolderValuesAreJoinedAsTheProgramJoinsThem) {
    EXPECT_EQ(audiopathOf("/opt/zor/bin/"), "/opt/zor/bin/\\Audio\\");
    EXPECT_EQ(programFolder().back(), '/');
    EXPECT_TRUE(std::filesystem::exists(programFolder()));
}

}  // namespace
}  // namespace zor::shell
