#pragma once
// What the page store needs of a printer: its drawing context's capabilities, its
// device settings, print jobs that take page pictures, and its paper forms. The
// platform's print service implements it (outside this library); the store
// behaves as with no printer installed when it has none.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emf/types.h"

namespace zor::pagestore {

// The parts of the printer's device settings the store reads and writes; each
// field is either present or not.
struct PrinterSettings {
    std::optional<int> orientation;       // 1 portrait, 2 landscape
    std::optional<int> paperNumber;       // the driver's paper number; 256 = user-defined
    std::optional<int> paperWidth;        // 0.1 mm, portrait
    std::optional<int> paperLength;       // 0.1 mm, portrait
    std::optional<std::string> formName;  // at most 32 characters
    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// The printer's drawing context, in printer pixels, in its current orientation.
struct PrinterDevice {
    int dpiX = 600;
    int dpiY = 600;
    emf::Size physicalPage;     // the whole sheet
    emf::Point physicalOffset;  // top-left corner of the printable area
    emf::Size printableArea;
};

// A paper form of the printer; sizes in 0.001 mm.
struct PrinterForm {
    std::string name;
    int width = 0;
    int height = 0;
};

class Printer {
  public:
    virtual ~Printer() = default;

    // True when at least one printer is installed.
    virtual bool Installed() const = 0;
    virtual PrinterDevice Device() const = 0;
    virtual PrinterSettings ReadSettings() const = 0;
    // Makes the printer and its drawing context use these settings.
    virtual void ApplySettings(const PrinterSettings& settings) = 0;
    // Applies the printer's current settings to its drawing context again.
    virtual void RefreshDeviceContext() = 0;

    virtual void SetJobTitle(const std::string& title) = 0;
    virtual void BeginJob() = 0;
    virtual void NewJobPage() = 0;
    virtual void EndJob() = 0;
    virtual void AbortJob() = 0;
    virtual bool JobPrinting() const = 0;
    virtual bool JobAborted() const = 0;
    // Draws a page picture (EMF) stretched into target (printer pixels, relative
    // to the printable area's corner); in grey when asked.
    virtual void DrawPicture(std::span<const std::uint8_t> picture, const emf::Rect& target,
                             bool grayscale) = 0;

    // The printer's forms in its own order; nothing when they cannot be listed.
    virtual std::optional<std::vector<PrinterForm>> Forms() const = 0;
    virtual bool AddForm(const PrinterForm& form) = 0;
    virtual bool DeleteForm(const std::string& name) = 0;
};

}  // namespace zor::pagestore
