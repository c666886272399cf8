#pragma once
// Doubles of what the report screens use, on the runtime's virtual clock.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../ui/ui_fixture.h"
#include "report/report_services.h"
#include "shell/main_menu.h"
#include "ui/screen.h"

namespace zor::report::testing {

class FakeMainMenu : public shell::MainMenu {
public:
    std::filesystem::path pgmpath = std::filesystem::path(ZOR_SOURCE_DIR) / "assets";
    std::filesystem::path datapath;
    std::filesystem::path audiopath;
    std::filesystem::path trpath;
    std::string resumeFile;
    int clicks = 0;
    int initializations = 0;
    ui::Screen* main = nullptr;

    void ZORMainInitialize() override { ++initializations; }
    void ClickSound() override { ++clicks; }
    void Exit1Click() override {}
    const std::filesystem::path& Pgmpath() const override { return pgmpath; }
    const std::filesystem::path& Datapath() const override { return datapath; }
    const std::filesystem::path& Audiopath() const override { return audiopath; }
    std::filesystem::path reportFolder() const override { return trpath; }
    int ResumeMode() const override { return 0; }
    const std::string& ResumeFileName() const override { return resumeFile; }
    bool RecordAnswersChosen() const override { return recordAnswers; }
    void RememberRecordAnswers(bool on) override { recordAnswers = on; }
    bool recordAnswers = false;
    ui::Screen& screen() override { return *main; }
};

class FakePrinting : public ReportPrinting {
public:
    bool installed = true;
    bool confirmSetup = false;
    int setups = 0;
    int printed = 0;
    // When set, printing goes through the store onto this printer.
    std::shared_ptr<pagestore::Printer> printer;
    bool PrinterInstalled() const override { return installed; }
    void WritePrinterSetup(pagestore::TPrintPreview&) override {}
    bool PrinterSetupDialog() override {
        ++setups;
        return confirmSetup;
    }
    void Print(pagestore::TPrintPreview& store) override {
        printed += store.TotalPages();
        if (!printer) return;
        store.SetPrinter(printer);
        store.Print();
    }
};

class FakeFolderOpener : public FolderOpener {
public:
    std::vector<std::string> opened;
    void OpenFolder(const std::filesystem::path& folder) override { opened.push_back(folder.string()); }
};

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace zor::report::testing
