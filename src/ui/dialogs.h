#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ui/modal_result.h"

namespace zor::ui {

enum class ConfirmButtons { OK, OKCancel, YesNo };

// What a confirmation box may carry beyond its text and buttons.
struct ConfirmOptions {
    // The box's title; empty gives the toolkit's confirmation title.
    std::string title;
    // The button that Enter presses (OK, Cancel, Yes or No, one of the box's
    // buttons); none makes it the first button.
    std::optional<ModalResult> defaultButton;
    // The font family of the message and the buttons and the message's size
    // in points; empty or 0 keep the toolkit's own.
    std::string fontFamily;
    int messagePointSize = 0;

    bool operator==(const ConfirmOptions&) const = default;
};

// The settings of a file-open or file-save dialog.
struct FileDialogRequest {
    std::string title;
    std::filesystem::path initialDir;
    std::filesystem::path fileName;  // the proposed name
    std::string defaultExt;
    std::string filter;  // "Description|*.ext" pairs joined by "|"
    bool hideReadOnly = false;
    bool noChangeDir = false;
    bool fileMustExist = false;
    // The folder of the chosen file must exist: the program creates none, so
    // a name in a missing folder is refused and the dialog stays open.
    bool pathMustExist = false;
    bool overwritePrompt = false;

    bool operator==(const FileDialogRequest&) const = default;
};

// Message boxes and file dialogs. They answer synchronously.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Confirmation box with a question icon; returns the button pressed
    // (OK, Cancel, Yes or No; Cancel when the box is dismissed).
    virtual ModalResult confirm(const std::string& text, ConfirmButtons buttons,
                                const ConfirmOptions& options = {}) = 0;
    // Plain message with an OK button.
    virtual void message(const std::string& title, const std::string& text) = 0;
    // The chosen file as a Linux path, or nothing when cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

}  // namespace zor::ui
