#include "pagestore/printing_test_printer.h"

#include <algorithm>
#include <stdexcept>

namespace zor::pagestore {

TestPrinter::TestPrinter() {
    settings.orientation = 1;
    settings.paperNumber = 9;  // A4
    // A4 at 600 dots per inch, printable from 4 mm (95 pixels) in.
    metrics = {600, 600, 4961, 7016, 95, 95, 4961 - 190, 7016 - 190};
    forms = std::vector<PrinterForm>{{"Letter", 215900, 279400},
                                     {"A4", 210000, 297000},
                                     {"A5", 148000, 210000},
                                     {"Tiny", 5, 5}};
}

void TestPrinter::ApplySettings(const PrinterSettings& s) {
    settings = s;
    log.push_back("apply");
}

bool TestPrinter::AddForm(const PrinterForm& form) {
    if (!formsCanBeAdded || !forms) return false;
    forms->push_back(form);
    log.push_back("add " + form.name);
    return true;
}

bool TestPrinter::DeleteForm(const std::string& name) {
    if (!forms) return false;
    const auto it = std::find_if(forms->begin(), forms->end(),
                                 [&](const PrinterForm& f) { return f.name == name; });
    if (it == forms->end()) return false;
    forms->erase(it);
    log.push_back("delete " + name);
    return true;
}

void TestPrinter::SetJobTitle(const std::string& title) {
    title_ = title;
    log.push_back("title " + title);
}

void TestPrinter::BeginJob() {
    if (printing_) throw std::logic_error("a print job is already running");
    printing_ = true;
    aborted_ = false;
    log.push_back("begin");
}

void TestPrinter::NewJobPage() {
    if (!printing_) throw std::logic_error("no print job is running");
    log.push_back("page");
}

void TestPrinter::EndJob() {
    if (!printing_) throw std::logic_error("no print job is running");
    printing_ = false;
    log.push_back("end");
}

void TestPrinter::AbortJob() {
    printing_ = false;
    aborted_ = true;
    log.push_back("abort");
}

void TestPrinter::DrawPage(std::span<const std::uint8_t> picture, const emf::Rect& target,
                           bool grey) {
    if (!printing_) throw std::logic_error("no print job is running");
    if (failOnDraw) throw std::runtime_error("The printer is out of paper");
    drawn.push_back({{picture.begin(), picture.end()}, target, grey});
    log.push_back("draw");
}

}  // namespace zor::pagestore
