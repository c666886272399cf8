#pragma once
// What the report screens need of the rest of the program, as narrow interfaces
// the start-up wires to the real screens and services (and tests to doubles).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pagestore/print_preview.h"
#include "record/administration_record.h"
#include "record/calendar.h"

namespace zor::ui {
class Screen;
}

namespace zor::report {

// Printing through the page store and the platform's printer set-up dialog.
class ReportPrinting {
public:
    virtual ~ReportPrinting() = default;
    virtual bool PrinterInstalled() const = 0;
    // Gives orientation, paper and form name of the store to the printer.
    virtual void WritePrinterSetup(pagestore::TPrintPreview& store) = 0;
    // The printer set-up dialog; true when confirmed.
    virtual bool PrinterSetupDialog() = 0;
    // Prints every page of the store under its print job title.
    virtual void Print(pagestore::TPrintPreview& store) = 0;
};

// The subject-entry screen `TZORinvoer` and the finish screen, as the report
// preview uses them.
class AdministrationHost {
public:
    virtual ~AdministrationHost() = default;
    virtual record::AdministrationRecord& Record() = 0;
    // Saves the administration (`Opslaan1Click`).
    virtual void Opslaan1Click() = 0;
    // The finish screen's `ButtonHM` enabled and its `ButtonExit` visible again.
    virtual void ReportClosed() = 0;
};

// The correction screen `Tcorrect`, as the stored-report viewer uses it.
class CorrectionHost {
public:
    virtual ~CorrectionHost() = default;
    virtual ui::Screen& screen() = 0;
    // The record of the corrected administration.
    virtual record::AdministrationRecord& Record() = 0;
    // The administration date of the stored administration (`StoredAfnameDate`),
    // known once a correction is confirmed.
    virtual std::optional<record::Date> StoredAfnameDate() const = 0;
    virtual bool CorrectionConfirmed() const = 0;
    virtual void ClearCorrectionConfirmed() = 0;
    // Writes the corrected data files.
    virtual void SaveCorrectedAdministration() = 0;
};

// Opens a folder in the desktop's file manager.
class FolderOpener {
public:
    virtual ~FolderOpener() = default;
    virtual void OpenFolder(const std::filesystem::path& folder) = 0;
};

// Opens folders with xdg-open, without waiting for the file manager.
class XdgFolderOpener : public FolderOpener {
public:
    void OpenFolder(const std::filesystem::path& folder) override;
};

}  // namespace zor::report
