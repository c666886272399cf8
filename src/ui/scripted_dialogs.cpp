#include "ui/scripted_dialogs.h"

#include <stdexcept>

namespace zor::ui {

namespace {
template <typename T>
T takeAnswer(std::deque<T>& queue, const std::string& what) {
    if (queue.empty()) throw std::logic_error("Geen antwoord klaar voor: " + what);
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
}  // namespace

ModalResult ScriptedDialogs::confirm(const std::string& text, ConfirmButtons buttons,
                                     const ConfirmOptions& options) {
    confirmations.push_back({text, buttons, options});
    return takeAnswer(confirmAnswers, text);
}

void ScriptedDialogs::message(const std::string& title, const std::string& text) {
    messages.push_back({title, text});
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    openRequests.push_back(request);
    return takeAnswer(openAnswers, request.title);
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    return takeAnswer(saveAnswers, request.title);
}

}  // namespace zor::ui
