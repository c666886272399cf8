#pragma once

#include <string>

#include <QString>

#include "ui/dialogs.h"

class QWidget;

namespace zor::ui::qt {

// The confirmation title of the Dutch desktop.
inline constexpr const char* kConfirmTitle = "Bevestigen";

// Message boxes and file dialogs with Qt's widgets, with Dutch captions.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    ModalResult confirm(const std::string& text, ConfirmButtons buttons,
                        const ConfirmOptions& options = {}) override;
    void message(const std::string& title, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

private:
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);
    QWidget* parent_;
};

// Turns a filter of "Description|*.ext" pairs into Qt's name filters
// ("Description (*.ext)" joined by ";;"); several patterns of one pair are
// separated by ";" as in "*.a;*.b".
QString qtNameFilters(const std::string& filter);

}  // namespace zor::ui::qt
