#include "pagestore/qt/qt_printer.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "pagestore/qt/emf_player.h"

namespace zor::pagestore::qt {
namespace {

constexpr int UserDefinedPaper = 256;
// Grey pages are drawn through a bitmap; beyond this many pixels on its longer
// side (A4 at 300 dots per inch) the bitmap is drawn at a lower resolution.
constexpr int MaxGreyBitmapSide = 3508;

int toMicrometres(qreal millimetres) { return int(std::lround(millimetres * 1000)); }

}  // namespace

QtPrinter::QtPrinter(const std::string& printerName)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    QString name = QString::fromStdString(printerName);
    if (name.isEmpty()) {
        name = QPrinterInfo::defaultPrinterName();
        if (name.isEmpty() && !QPrinterInfo::availablePrinterNames().isEmpty())
            name = QPrinterInfo::availablePrinterNames().front();
    }
    if (!name.isEmpty()) printer_->setPrinterName(name);
}

QtPrinter::~QtPrinter() {
    if (JobPrinting()) AbortJob();
}

bool QtPrinter::Installed() const { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

PrinterSettings QtPrinter::ReadSettings() const {
    PrinterSettings s;
    const QPageLayout layout = printer_->pageLayout();
    s.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    const QPageSize size = layout.pageSize();
    if (size.id() != QPageSize::Custom && size.windowsId() > 0) {
        s.paperNumber = size.windowsId();
    } else {
        const QSizeF portrait = size.size(QPageSize::Millimeter);
        s.paperNumber = UserDefinedPaper;
        s.paperWidth = int(std::lround(std::min(portrait.width(), portrait.height()) * 10));
        s.paperLength = int(std::lround(std::max(portrait.width(), portrait.height()) * 10));
    }
    s.formName = size.name().toStdString();
    return s;
}

void QtPrinter::ApplySettings(const PrinterSettings& s) {
    QPageSize size;
    const auto custom = std::find_if(customForms_.begin(), customForms_.end(), [&](const auto& f) {
        return s.formName && f.name == *s.formName;
    });
    if (custom != customForms_.end()) {
        size = QPageSize(QSizeF(custom->width / 1000.0, custom->height / 1000.0),
                         QPageSize::Millimeter, QString::fromStdString(custom->name),
                         QPageSize::FuzzyMatch);
    } else if (s.paperNumber == UserDefinedPaper && s.paperWidth && s.paperLength) {
        size = QPageSize(QSizeF(*s.paperWidth / 10.0, *s.paperLength / 10.0), QPageSize::Millimeter,
                         QString(), QPageSize::FuzzyMatch);
    } else if (s.paperNumber) {
        size = QPageSize(QPageSize::id(*s.paperNumber));
    }
    if (size.isValid()) printer_->setPageSize(size);
    if (s.orientation)
        printer_->setPageOrientation(*s.orientation == 2 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
}

PrinterDevice QtPrinter::Device() const {
    PrinterDevice d;
    d.dpiX = d.dpiY = printer_->resolution();
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    d.physicalPage = {int(std::lround(paper.width())), int(std::lround(paper.height()))};
    d.physicalOffset = {int(std::lround(page.left() - paper.left())),
                        int(std::lround(page.top() - paper.top()))};
    d.printableArea = {int(std::lround(page.width())), int(std::lround(page.height()))};
    return d;
}

std::optional<std::vector<PrinterForm>> QtPrinter::Forms() const {
    const QPrinterInfo info(*printer_);
    if (info.isNull()) return std::nullopt;
    std::vector<PrinterForm> forms;
    for (const QPageSize& size : info.supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        forms.push_back({size.name().toStdString(), toMicrometres(mm.width()),
                         toMicrometres(mm.height())});
    }
    forms.insert(forms.end(), customForms_.begin(), customForms_.end());
    return forms;
}

bool QtPrinter::AddForm(const PrinterForm& form) {
    if (form.name.empty() || form.width <= 0 || form.height <= 0) return false;
    const auto forms = Forms();
    if (!forms) return false;
    if (std::any_of(forms->begin(), forms->end(), [&](const auto& f) { return f.name == form.name; }))
        return false;
    customForms_.push_back(form);
    return true;
}

bool QtPrinter::DeleteForm(const std::string& name) {
    const auto it = std::find_if(customForms_.begin(), customForms_.end(),
                                 [&](const auto& f) { return f.name == name; });
    if (it == customForms_.end()) return false;  // the queue's own forms stay
    customForms_.erase(it);
    return true;
}

void QtPrinter::SetJobTitle(const std::string& title) {
    printer_->setDocName(QString::fromStdString(title));
}

void QtPrinter::BeginJob() {
    if (JobPrinting()) throw std::logic_error("a print job is already running");
    aborted_ = false;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        throw std::runtime_error("Printing on \"" + printer_->printerName().toStdString() +
                                 "\" could not be started");
    }
}

void QtPrinter::NewJobPage() {
    if (!JobPrinting()) throw std::logic_error("no print job is running");
    if (!printer_->newPage()) throw std::runtime_error("The printer refused a new page");
}

void QtPrinter::EndJob() {
    if (!JobPrinting()) throw std::logic_error("no print job is running");
    const bool ended = painter_->end();
    painter_.reset();
    if (!ended || printer_->printerState() == QPrinter::Error)
        throw std::runtime_error("The print job could not be handed to \"" +
                                 printer_->printerName().toStdString() + "\"");
}

void QtPrinter::AbortJob() {
    if (painter_) {
        printer_->abort();
        if (painter_->isActive()) painter_->end();
        painter_.reset();
    }
    aborted_ = true;
}

bool QtPrinter::JobPrinting() const { return painter_ && painter_->isActive(); }

void QtPrinter::DrawPicture(std::span<const std::uint8_t> picture, const emf::Rect& target,
                            bool grey) {
    if (!JobPrinting()) throw std::logic_error("no print job is running");
    const QRectF rect(target.left, target.top, target.width(), target.height());
    if (!grey) {
        playEmf(*painter_, picture, rect);
        return;
    }
    const double scale = std::min(
        1.0, double(MaxGreyBitmapSide) / std::max(1, std::max(target.width(), target.height())));
    QImage page(std::max(1, int(target.width() * scale)), std::max(1, int(target.height() * scale)),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter onPage(&page);
        playEmf(onPage, picture, QRectF(0, 0, page.width(), page.height()));
    }
    toGrey(page);
    painter_->drawImage(rect, page);
}

}  // namespace zor::pagestore::qt
