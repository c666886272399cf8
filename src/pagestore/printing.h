#pragma once
// Printing of a page store: printing stored pages with progress and abort,
// composing straight onto the printer, exchanging paper and orientation with the
// printer's settings, and the printer's paper forms, including the form the store
// adds itself when the printer has none for its paper.
//
// Usage (a report screen):
//     TStorePrinter printing(store, device);   // device may be null: no printer
//     printing.OnPrintProgress = ...;
//     if (printing.PrinterInstalled() && store.TotalPages() > 0) {
//         printing.WritePrinterSetup();        // before the set-up dialog
//         printing.Print();
//     }
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emf/canvas.h"
#include "pagestore/print_preview.h"
#include "pagestore/printing_device.h"

namespace zor::pagestore {

enum TCustomFormOperation { opInsert, opRemove };

// Raised by an event handler to end printing quietly.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

class TStorePrinter {
public:
    using Event = TPrintPreview::Event;
    using ProgressEvent = std::function<void(TPrintPreview& sender, int pageNo, int progress,
                                             bool& abortIt)>;
    using CustomFormEvent = std::function<void(TPrintPreview& sender,
                                               const std::string& customFormName,
                                               TCustomFormOperation operation)>;

    // device: the printer; nullptr behaves as a machine without printers.
    TStorePrinter(TPrintPreview& store, PrintingDevice* device);
    // Deletes the store's own form from the printer.
    ~TStorePrinter();
    TStorePrinter(const TStorePrinter&) = delete;
    TStorePrinter& operator=(const TStorePrinter&) = delete;

    bool PrinterInstalled() const;

    // --- Printing stored pages -------------------------------------------------
    void Print();
    // Prints stored pages first .. last (1-based, limited to the stored pages).
    void PrintPages(int first, int last);
    // The printable area in the store's Units; PageBounds without a printer.
    emf::Rect PrinterPageBounds() const;

    // --- Composing straight onto the printer -------------------------------------
    bool DirectPrint() const { return directPrint_; }
    void SetDirectPrint(bool value) { directPrint_ = value; }
    // With DirectPrint on, compose onto the printer; otherwise the store's own
    // BeginDoc, after taking paper and orientation from the printer when
    // UsePrinterOptions is on.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // The open page: the printer's page in direct printing, else the store's.
    emf::Canvas* Canvas();
    // Pages printed so far in direct printing; else the stored pages.
    int TotalPages() const;

    // --- Printer set-up and forms ------------------------------------------------
    void ReadPrinterSetup();
    void WritePrinterSetup();
    bool GetFormNames(std::vector<std::string>& names) const;
    std::string FormName();
    void SetFormName(const std::string& name);
    // The form the store added to the printer itself; empty when none.
    const std::string& CustomFormName() const { return ownForm_; }

    // --- Events -------------------------------------------------------------------
    Event OnBeforePrint, OnAfterPrint;
    ProgressEvent OnPrintProgress;
    CustomFormEvent OnAutoCustomForm;

private:
    void reportProgress(int page, int done, int total);
    void endPrinting(bool completed);
    void cancelJob();
    emf::Rect paperTargetOnPrinter(const PrinterMetrics& m) const;
    // The paper size in 0.1 mm, in portrait order.
    std::pair<int, int> portraitSizeLoMetric() const;
    void ensureForm();
    void deleteForm(const std::string& name, bool notify);
    void openDirectPage();
    void stopDirectPrinting();
    void finishDirectPage();
    void fire(const Event& e) {
        if (e) e(store_);
    }

    TPrintPreview& store_;
    PrintingDevice* device_;
    bool directPrint_ = false;

    // The form matching the paper, and the paper size (0.1 mm, portrait) it was
    // matched for: a change of paper forgets it.
    std::string formName_;
    std::pair<int, int> formPaper_{0, 0};
    std::string ownForm_;

    // Direct printing.
    bool directPrinting_ = false;
    int directPages_ = 0;
    std::unique_ptr<emf::Canvas> directCanvas_;
    PrinterMetrics directMetrics_;
};

}  // namespace zor::pagestore
