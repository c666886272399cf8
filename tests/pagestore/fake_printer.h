#pragma once
// A printer for tests: keeps its settings and forms, and logs the job calls and
// the pictures it is given.
#include <stdexcept>
#include <string>
#include <vector>

#include "pagestore/printer.h"

namespace zor::pagestore::testing {

class FakePrinter : public Printer {
  public:
    bool installed = true;
    PrinterDevice device{600, 600, {4961, 7016}, {100, 120}, {4761, 6776}};
    PrinterSettings settings{1, 9, std::nullopt, std::nullopt, std::nullopt};
    std::vector<PrinterForm> forms{{"Letter", 215900, 279400},
                                   {"A4", 210000, 297000},
                                   {"Tiny", 10, 5000},
                                   {"A5", 148000, 210000}};
    bool formsListable = true;
    std::string title;
    std::vector<std::string> log;
    struct Drawn {
        std::vector<std::uint8_t> picture;
        emf::Rect target;
        bool grayscale;
    };
    std::vector<Drawn> drawn;
    int failOnDraw = 0;  // throw on this drawing (1-based); 0 = never
    bool printing = false;
    bool aborted = false;

    bool Installed() const override { return installed; }
    PrinterDevice Device() const override { return device; }
    PrinterSettings ReadSettings() const override { return settings; }
    void ApplySettings(const PrinterSettings& s) override {
        settings = s;
        log.push_back("apply");
    }
    void RefreshDeviceContext() override { log.push_back("refresh"); }
    void SetJobTitle(const std::string& t) override { title = t; }
    void BeginJob() override {
        printing = true;
        aborted = false;
        log.push_back("begin:" + title);
    }
    void NewJobPage() override { log.push_back("newpage"); }
    void EndJob() override {
        printing = false;
        log.push_back("end");
    }
    void AbortJob() override {
        printing = false;
        aborted = true;
        log.push_back("abort");
    }
    bool JobPrinting() const override { return printing; }
    bool JobAborted() const override { return aborted; }
    void DrawPicture(std::span<const std::uint8_t> picture, const emf::Rect& target,
                     bool grayscale) override {
        if (int(drawn.size()) + 1 == failOnDraw) throw std::runtime_error("printer jammed");
        drawn.push_back({{picture.begin(), picture.end()}, target, grayscale});
        log.push_back("draw");
    }
    std::optional<std::vector<PrinterForm>> Forms() const override {
        if (!formsListable) return std::nullopt;
        return forms;
    }
    bool AddForm(const PrinterForm& form) override {
        for (const auto& f : forms)
            if (f.name == form.name) return false;
        forms.push_back(form);
        log.push_back("addform:" + form.name);
        return true;
    }
    bool DeleteForm(const std::string& name) override {
        for (auto it = forms.begin(); it != forms.end(); ++it) {
            if (it->name == name) {
                forms.erase(it);
                log.push_back("deleteform:" + name);
                return true;
            }
        }
        return false;
    }
};

}  // namespace zor::pagestore::testing
