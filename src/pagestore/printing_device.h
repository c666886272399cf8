#pragma once
// The printer as the page store sees it: the installed printers, the current
// printer's settings record, its resolution and printable area, its paper forms,
// its job operations and a way to draw a page image onto the current printer page.
// The real printer is Qt's print support (pagestore/qt/qt_printer.h); tests use
// TestPrinter (pagestore/printing_test_printer.h).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emf/types.h"

namespace zor::pagestore {

// The fields of the printer's settings record the store reads and writes; an
// empty field is one the record does not carry.
struct PrinterSettings {
    std::optional<int> orientation;  // 1 portrait, 2 landscape
    std::optional<int> paperNumber;  // the driver's paper number; 256 = user-defined
    std::optional<int> paperWidth;   // 0.1 mm, portrait
    std::optional<int> paperLength;  // 0.1 mm, portrait
    std::optional<std::string> formName;
    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// The printer's drawing context, in printer pixels.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int physicalWidth = 0;  // the whole sheet, as oriented
    int physicalHeight = 0;
    int offsetX = 0;  // from the sheet's corner to the printable area
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
};

// A paper form; sizes in 0.001 mm.
struct PrinterForm {
    std::string name;
    int width = 0;
    int height = 0;
};

class PrintingDevice {
public:
    virtual ~PrintingDevice() = default;

    // The names of the installed printers; a printer counts as installed when
    // this is not empty.
    virtual std::vector<std::string> Printers() const = 0;

    virtual PrinterSettings Settings() const = 0;
    // Makes the current printer use these settings (paper, orientation, form).
    virtual void ApplySettings(const PrinterSettings& settings) = 0;
    virtual PrinterMetrics Metrics() const = 0;

    // The printer's forms in its own order; nothing when they cannot be listed.
    virtual std::optional<std::vector<PrinterForm>> Forms() const = 0;
    virtual bool AddForm(const PrinterForm& form) = 0;
    virtual bool DeleteForm(const std::string& name) = 0;

    virtual void SetJobTitle(const std::string& title) = 0;
    virtual void BeginJob() = 0;
    virtual void NewJobPage() = 0;
    virtual void EndJob() = 0;
    virtual void AbortJob() = 0;
    virtual bool JobPrinting() const = 0;
    virtual bool JobAborted() const = 0;

    // Draws a page image onto the current printer page, stretched to target (printer
    // pixels from the printable area's corner), in grey when asked.
    virtual void DrawPage(std::span<const std::uint8_t> picture, const emf::Rect& target,
                          bool grey) = 0;
};

}  // namespace zor::pagestore
