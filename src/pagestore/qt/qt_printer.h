#pragma once
// The page store's printer on Qt's print support (CUPS on Linux): the installed
// print queues, the queue's paper and orientation, its forms, print jobs, and page
// images played onto the printer pages.
//
// CUPS has no way to add forms to a queue; the forms the store adds live in this
// object and are used as custom page sizes when the settings name them.
#include <memory>
#include <string>
#include <vector>

#include "pagestore/printer.h"

class QPainter;
class QPrinter;

namespace zor::pagestore::qt {

class QtPrinter : public Printer {
public:
    // printerName: a print queue; empty for the default queue (or the first one).
    explicit QtPrinter(const std::string& printerName = {});
    ~QtPrinter() override;

    // The printer the set-up dialog works on.
    QPrinter& printer() { return *printer_; }

    bool Installed() const override;
    PrinterDevice Device() const override;
    PrinterSettings ReadSettings() const override;
    void ApplySettings(const PrinterSettings& settings) override;
    // Qt applies settings to the printer at once: nothing to do.
    void RefreshDeviceContext() override {}
    std::optional<std::vector<PrinterForm>> Forms() const override;
    bool AddForm(const PrinterForm& form) override;
    bool DeleteForm(const std::string& name) override;
    void SetJobTitle(const std::string& title) override;
    void BeginJob() override;
    void NewJobPage() override;
    void EndJob() override;
    void AbortJob() override;
    bool JobPrinting() const override;
    bool JobAborted() const override { return aborted_; }
    void DrawPicture(std::span<const std::uint8_t> picture, const emf::Rect& target,
                     bool grayscale) override;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::vector<PrinterForm> customForms_;
    bool aborted_ = false;
};

}  // namespace zor::pagestore::qt
