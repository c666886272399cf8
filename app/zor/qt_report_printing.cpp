#include "zor/qt_report_printing.h"

#include <QPrintDialog>

namespace zor::app {

QtReportPrinting::QtReportPrinting(QWidget* dialogParent)
    : dialogParent_(dialogParent), printer_(std::make_shared<pagestore::qt::QtPrinter>()) {}

void QtReportPrinting::WritePrinterSetup(pagestore::TPrintPreview& store) {
    store.SetPrinter(printer_);
    store.WritePrinterSetup();
}

bool QtReportPrinting::PrinterSetupDialog() {
    QPrintDialog dialog(&printer_->printer(), dialogParent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtReportPrinting::Print(pagestore::TPrintPreview& store) {
    store.SetPrinter(printer_);
    store.Print();
}

}  // namespace zor::app
