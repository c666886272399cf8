#pragma once
// A printer for tests: an A4 printer at 600 dots per inch with a printable area
// 4 mm in from each edge, a few standard forms, and a log of every job operation
// and drawn page, so that tests of the store and of the report screens can check
// what would have been printed.
#include <string>
#include <vector>

#include "pagestore/printing_device.h"

namespace zor::pagestore {

class TestPrinter : public PrintingDevice {
public:
    struct DrawnPage {
        std::vector<std::uint8_t> picture;
        emf::Rect target;
        bool grey = false;
    };

    TestPrinter();

    // What the test sets up.
    std::vector<std::string> printers{"Testprinter"};
    PrinterSettings settings;
    PrinterMetrics metrics;
    std::optional<std::vector<PrinterForm>> forms;
    bool formsCanBeAdded = true;
    bool failOnDraw = false;  // DrawPage throws std::runtime_error

    // What happened: "title <t>", "begin", "draw", "page", "end", "abort", "apply",
    // "add <form>", "delete <form>".
    std::vector<std::string> log;
    std::vector<DrawnPage> drawn;

    std::vector<std::string> Printers() const override { return printers; }
    PrinterSettings Settings() const override { return settings; }
    void ApplySettings(const PrinterSettings& s) override;
    PrinterMetrics Metrics() const override { return metrics; }
    std::optional<std::vector<PrinterForm>> Forms() const override { return forms; }
    bool AddForm(const PrinterForm& form) override;
    bool DeleteForm(const std::string& name) override;
    void SetJobTitle(const std::string& title) override;
    void BeginJob() override;
    void NewJobPage() override;
    void EndJob() override;
    void AbortJob() override;
    bool JobPrinting() const override { return printing_; }
    bool JobAborted() const override { return aborted_; }
    void DrawPage(std::span<const std::uint8_t> picture, const emf::Rect& target,
                  bool grey) override;

    const std::string& jobTitle() const { return title_; }

private:
    std::string title_;
    bool printing_ = false;
    bool aborted_ = false;
};

}  // namespace zor::pagestore
