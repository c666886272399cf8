#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "correction/correction_screen.h"
#include "record/administration_files.h"
#include "shell/main_menu.h"
#include "ui_fixture.h"

namespace zor::correction::testing {

namespace fs = std::filesystem;

// The main screen as far as the correction screen uses it.
class FakeMainMenu : public shell::MainMenu {
  public:
    FakeMainMenu(ui::Application& app, fs::path pgmpath, fs::path datapath)
        : screen_(app, "ZORMAINForm"),
          pgmpath_(std::move(pgmpath)),
          datapath_(std::move(datapath)) {}

    int clicks = 0;

    void ZORMainInitialize() override {}
    void ClickSound() override { ++clicks; }
    void Exit1Click() override {}
    const fs::path& Pgmpath() const override { return pgmpath_; }
    const fs::path& Datapath() const override { return datapath_; }
    const fs::path& Audiopath() const override { return audiopath_; }
    fs::path reportFolder() const override { return {}; }
    int ResumeMode() const override { return 0; }
    const std::string& ResumeFileName() const override { return resumeFile_; }
    bool RecordAnswersChosen() const override { return recordAnswers; }
    void RememberRecordAnswers(bool on) override { recordAnswers = on; }
    bool recordAnswers = false;
    ui::Screen& screen() override { return screen_; }

  private:
    ui::Screen screen_;
    fs::path pgmpath_;
    fs::path datapath_;
    fs::path audiopath_;
    std::string resumeFile_;
};

// The stored-report viewer as the correction screen sees it: on a confirmed
// correction it notes what the corrected report would show, has the
// corrected data files written and clears the confirmation, as the real
// viewer does after storing the report and its PDF.
class FakeViewer : public CorrectionViewer {
  public:
    explicit FakeViewer(Tcorrect& correction) : correction_(correction) {}

    std::string key;
    int composed = 0;
    int closed = 0;
    bool confirmedWhenComposing = false;
    int ageMonthsWhenComposing = -1;
    std::optional<record::FileError> saveResult;

    std::string ReportKey() const override { return key; }
    void ComposeCorrectedReport() override {
        ++composed;
        confirmedWhenComposing = correction_.CorrectionConfirmed;
        ageMonthsWhenComposing = correction_.CorrectedRecord().AgeMonths;
        if (correction_.CorrectionConfirmed) saveResult = correction_.Opslaan1Click();
        correction_.CorrectionConfirmed = false;
    }
    void CorrectionClosed() override { ++closed; }

  private:
    Tcorrect& correction_;
};

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// A correction screen over a temporary data folder, opened the way the
// viewer opens it. Today is 1 June 2013 unless a test says otherwise.
struct CorrectionFixture : ::testing::Test {
    ui::testing::UiFixture ui{
        ui::VirtualClock{std::chrono::sys_days{std::chrono::year{2013} / 6 / 1} +
                         std::chrono::hours{9}},
        {},
        {}};
    fs::path root =
        ui::testing::freshFolder(std::string("correction-") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path dataFolder = root / "data" / "Data";
    FakeMainMenu main{ui.app, std::string(ZOR_SOURCE_DIR) + "/assets/",
                      (root / "data").string() + "/"};
    Tcorrect correct{ui.app, main};
    FakeViewer viewer{correct};
    std::optional<ui::ModalResult> result;

    CorrectionFixture() {
        fs::create_directories(dataFolder);
        correct.setViewer(viewer);
    }
    ~CorrectionFixture() override { fs::remove_all(root); }

    static fs::path Sample(const std::string& name) {
        return fs::path(ZOR_TEST_DATA_DIR) / "correction" / name;
    }
    // Copies both sample data files of the key into the data folder.
    void AddSample(const std::string& key) {
        for (const char* suffix : {"_FW.wda", "_FV.vda"}) {
            fs::copy_file(Sample(key + suffix), dataFolder / (key + suffix));
        }
    }
    // The viewer's correction button: shows the screen modally.
    void Open(const std::string& key) {
        viewer.key = key;
        ui.app.runEvent([&] { correct.ShowModal([this](ui::ModalResult r) { result = r; }); });
    }
    bool IsOpen() const { return correct.showingModally(); }
    std::string File(const std::string& name) const { return ReadBytes(dataFolder / name); }
};

// The ";"-separated fields of the first line of a data file.
inline std::vector<std::string> FirstLineFields(const std::string& bytes) {
    const std::string line = bytes.substr(0, bytes.find("\r\n"));
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(';', start);
        fields.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

}  // namespace zor::correction::testing
