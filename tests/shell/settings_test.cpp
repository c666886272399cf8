#include "shell/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "shell/first_run.h"
#include "folders/folders.h"
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
    EXPECT_EQ(dataFolderFrom(IniSettingsStore(file)), "");
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

// The mode bits of a file or folder.
unsigned modeOf(const std::filesystem::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777u : 0u;
}

// Every file and folder under `root` with its mode and content, to see that
// a second start changes nothing.
std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string content;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
        entries[entry.path().string()] = std::to_string(modeOf(entry.path())) + ":" + content;
    }
    return entries;
}

TEST_F(SettingsTest, FirstRunMakesPrivateFoldersUnderTheDocumentsFolderAndChangesNothingTheSecondTime) {
    const auto home = dir / "home";
    std::filesystem::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs")
        << "XDG_DESKTOP_DIR=\"$HOME/Bureaublad\"\nXDG_DOCUMENTS_DIR=\"$HOME/Documenten\"\n";
    const Environment env = envOf({{"HOME", home.string()}});
    prepareFirstRun(env);

    const auto settingsFile = home / ".config" / "zor" / "settings.ini";
    const auto zor = home / "Documenten" / "ZOR";
    IniSettingsStore store(env);
    ASSERT_EQ(store.file(), settingsFile);
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), (zor / "Data").string());
    EXPECT_EQ(store.readString(kSettingsKey, kReportPathValue), (zor / "Testrapporten").string());
    EXPECT_EQ(modeOf(settingsFile), 0600u);
    for (const auto& folder : {home / ".config" / "zor", home / "Documenten", zor, zor / "Data" / "Data",
                               zor / "Data" / "Incomplete afnames", zor / "Testrapporten" / "PDF"})
        EXPECT_EQ(modeOf(folder), 0700u) << folder;

    const auto before = snapshot(home);
    prepareFirstRun(env);
    EXPECT_EQ(snapshot(home), before);
}

TEST_F(SettingsTest, FirstRunKeepsConfiguredValuesAndTheModeOfExistingFolders) {
    const auto shared = dir / "school";
    std::filesystem::create_directories(shared);
    std::filesystem::permissions(shared, std::filesystem::perms(0755));
    write("[Elders]\r\nx=1\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n"
          "datapath=" + shared.string() + "\r\n[HKEY_LOCAL_MACHINE\\Laatste]\r\ny=2");
    const Environment env = envOf({{"HOME", (dir / "home").string()}, {"ZOR_SETTINGS_FILE", file.string()}});
    prepareFirstRun(env);

    IniSettingsStore store(file);
    EXPECT_EQ(store.readString(kSettingsKey, kDataPathValue), shared.string());
    EXPECT_EQ(store.readString(kSettingsKey, kReportPathValue),
              (dir / "home" / "ZOR" / "Testrapporten").string());
    EXPECT_EQ(store.readString("\\Laatste", "y"), "2");
    EXPECT_EQ(modeOf(shared), 0755u);
    EXPECT_EQ(modeOf(shared / "Incomplete afnames"), 0700u);
}

TEST(FoldersTest, ProgramFilesAreFoundBesideTheExecutableOrInShareZor) {
    using folders::findProgramFolder;
    using folders::ProgramFilesMissing;
    const auto root = ui::testing::freshFolder("program-folder");
    const auto bin = root / "bin";
    std::filesystem::create_directories(bin);
    try {
        findProgramFolder(bin);
        ADD_FAILURE() << "no folder holds the program files";
    } catch (const ProgramFilesMissing& e) {
        EXPECT_NE(std::string(e.what()).find(bin.string()), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find((root / "share" / "zor").string()), std::string::npos);
    }
    for (const char* sub : {"Graphics", "Audio"}) std::filesystem::create_directories(root / "share" / "zor" / sub);
    EXPECT_EQ(findProgramFolder(bin), root / "share" / "zor");
    for (const char* sub : {"Graphics", "Audio"}) std::filesystem::create_directories(bin / sub);
    EXPECT_EQ(findProgramFolder(bin), bin);
}

}  // namespace
}  // namespace zor::shell
