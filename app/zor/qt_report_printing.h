#pragma once

#include <memory>

#include "pagestore/qt/qt_printer.h"
#include "report/report_services.h"

class QWidget;

namespace zor::app {

// Printing of the report screens on the default print queue, with Qt's
// print dialog as the printer set-up dialog.
class QtReportPrinting : public report::ReportPrinting {
  public:
    explicit QtReportPrinting(QWidget* dialogParent);

    bool PrinterInstalled() const override { return printer_->Installed(); }
    void WritePrinterSetup(pagestore::TPrintPreview& store) override;
    bool PrinterSetupDialog() override;
    void Print(pagestore::TPrintPreview& store) override;

  private:
    QWidget* dialogParent_;
    std::shared_ptr<pagestore::qt::QtPrinter> printer_;
};

}  // namespace zor::app
