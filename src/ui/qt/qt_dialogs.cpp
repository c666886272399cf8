#include "ui/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <vector>


namespace zor::ui::qt {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QString qtNameFilters(const std::string& filter) {
    const QStringList parts = qs(filter).split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        filters << parts[i].trimmed() + " (" + patterns.join(u' ').trimmed() + ")";
    }
    return filters.join(";;");
}

ModalResult QtDialogs::confirm(const std::string& text, ConfirmButtons buttons,
                               const ConfirmOptions& options) {
    const QString title = options.title.empty() ? QString(kConfirmTitle) : qs(options.title);
    QMessageBox box(QMessageBox::Question, title, qs(text), QMessageBox::NoButton, parent_);
    std::vector<std::pair<QAbstractButton*, ModalResult>> answers;
    auto add = [&](const char* caption, QMessageBox::ButtonRole role, ModalResult result) {
        answers.emplace_back(box.addButton(caption, role), result);
    };
    switch (buttons) {
        case ConfirmButtons::OK: add("OK", QMessageBox::AcceptRole, ModalResult::OK); break;
        case ConfirmButtons::OKCancel:
            add("OK", QMessageBox::AcceptRole, ModalResult::OK);
            add("Annuleren", QMessageBox::RejectRole, ModalResult::Cancel);
            break;
        case ConfirmButtons::YesNo:
            add("&Ja", QMessageBox::YesRole, ModalResult::Yes);
            add("&Nee", QMessageBox::NoRole, ModalResult::No);
            break;
    }
    // Escape and the title bar's close button would otherwise press "Nee", which
    // is an answer; dismissing the box answers nothing and returns Cancel.
    if (buttons == ConfirmButtons::YesNo) {
        QAbstractButton* dismiss = box.addButton(QMessageBox::Cancel);
        dismiss->hide();
        box.setEscapeButton(dismiss);
    }
    if (!options.fontFamily.empty()) {
        for (const auto& [button, result] : answers) {
            QFont font = button->font();
            font.setFamily(qs(options.fontFamily));
            button->setFont(font);
        }
    }
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_label");
        label && (!options.fontFamily.empty() || options.messagePointSize > 0)) {
        QFont font = label->font();
        if (!options.fontFamily.empty()) font.setFamily(qs(options.fontFamily));
        if (options.messagePointSize > 0) font.setPointSize(options.messagePointSize);
        label->setFont(font);
    }
    QAbstractButton* defaultButton = answers.front().first;
    for (const auto& [button, result] : answers)
        if (options.defaultButton == result) defaultButton = button;
    box.setDefaultButton(static_cast<QPushButton*>(defaultButton));
    box.exec();
    for (const auto& [button, result] : answers)
        if (box.clickedButton() == button) return result;
    return ModalResult::Cancel;
}

void QtDialogs::message(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, qs(title), qs(text), QMessageBox::NoButton, parent_);
    box.setDefaultButton(box.addButton("OK", QMessageBox::AcceptRole));
    box.exec();
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> QtDialogs::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, qs(request.title), qs(request.initialDir.string()));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.fileMustExist ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    if (!request.filter.empty()) dialog.setNameFilters(qtNameFilters(request.filter).split(";;"));
    if (!request.defaultExt.empty()) dialog.setDefaultSuffix(qs(request.defaultExt));
    if (!request.fileName.empty()) dialog.selectFile(qs(request.fileName.string()));
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    if (!request.overwritePrompt) options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    dialog.setLabelText(QFileDialog::Accept, save ? "Opslaan" : "Openen");
    dialog.setLabelText(QFileDialog::Reject, "Annuleren");
    dialog.setLabelText(QFileDialog::LookIn, "Zoeken in:");
    dialog.setLabelText(QFileDialog::FileName, "Bestandsnaam:");
    dialog.setLabelText(QFileDialog::FileType, "Bestandstype:");
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().front();
        const QFileInfo file(chosen);
        if (!request.pathMustExist || file.absoluteDir().exists()) return chosen.toStdString();
        QMessageBox box(QMessageBox::Warning, dialog.windowTitle(),
                        "Het pad bestaat niet.\nControleer of het juiste pad is opgegeven.",
                        QMessageBox::NoButton, &dialog);
        box.setDefaultButton(box.addButton("OK", QMessageBox::AcceptRole));
        box.exec();
    }
    return std::nullopt;
}

}  // namespace zor::ui::qt
