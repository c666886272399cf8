#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace zor::ui {

// Dialogs for tests: answers come from queues filled in advance, and every
// question is recorded. A question without a queued answer throws, so an
// unexpected dialog shows up as an error message in `messages`.
class ScriptedDialogs : public Dialogs {
  public:
    struct Confirmation {
        std::string text;
        ConfirmButtons buttons;
        ConfirmOptions options;
    };
    struct Message {
        std::string title;
        std::string text;
    };

    std::deque<ModalResult> confirmAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;

    std::vector<Confirmation> confirmations;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

    ModalResult confirm(const std::string& text, ConfirmButtons buttons,
                        const ConfirmOptions& options = {}) override;
    void message(const std::string& title, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
};

}  // namespace zor::ui
