#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt_test_app.h"
#include "ui/qt/qt_dialogs.h"
#include "ui_fixture.h"

namespace zor::ui::qt {
namespace {

// Runs `inspect` on the dialog once it is open; the dialog runs its own
// event loop, so the check is queued before the dialog opens.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> inspect) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inspect(*d);
        }
    });
    poll->start(5);
}

QAbstractButton* buttonNamed(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* b : box.buttons())
        if (b->text() == caption) return b;
    return nullptr;
}

struct QtDialogsTest : ::testing::Test {
    QApplication& app = testing::qtApp();
    QtDialogs dialogs;
};

TEST(QtNameFilters, PairsBecomeQtFilters) {
    EXPECT_EQ(qtNameFilters("ZOR-afname *.zta|*.zta"), "ZOR-afname *.zta (*.zta)");
    EXPECT_EQ(qtNameFilters("Rapport|*.zrp|Alle bestanden|*.*"),
              "Rapport (*.zrp);;Alle bestanden (*.*)");
    EXPECT_EQ(qtNameFilters("Plaatjes|*.gif;*.jpg"), "Plaatjes (*.gif *.jpg)");
    EXPECT_EQ(qtNameFilters(""), "");
}

TEST_F(QtDialogsTest, ConfirmationAsksWithDutchButtonsAndReturnsTheAnswer) {
    QStringList captions;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        icon = box.icon();
        for (auto* b : box.buttons()) captions << b->text();
        buttonNamed(box, "Annuleren")->click();
    });
    EXPECT_EQ(dialogs.confirm("Doorgaan?", ConfirmButtons::OKCancel), ModalResult::Cancel);
    EXPECT_EQ(title, "Bevestigen");
    EXPECT_EQ(icon, QMessageBox::Question);
    captions.sort();
    EXPECT_EQ(captions, QStringList({"Annuleren", "OK"}));

    whenOpen<QMessageBox>([&](QMessageBox& box) { buttonNamed(box, "&Ja")->click(); });
    EXPECT_EQ(dialogs.confirm("Opslaan?", ConfirmButtons::YesNo), ModalResult::Yes);
    whenOpen<QMessageBox>([&](QMessageBox& box) { buttonNamed(box, "&Nee")->click(); });
    EXPECT_EQ(dialogs.confirm("Opslaan?", ConfirmButtons::YesNo), ModalResult::No);
    whenOpen<QMessageBox>([&](QMessageBox& box) { buttonNamed(box, "OK")->click(); });
    EXPECT_EQ(dialogs.confirm("Klaar.", ConfirmButtons::OK), ModalResult::OK);
    // Closing the box is no OK.
    whenOpen<QMessageBox>([&](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(dialogs.confirm("Doorgaan?", ConfirmButtons::OKCancel), ModalResult::Cancel);
}

TEST_F(QtDialogsTest, ConfirmationTakesTheGivenTitleAndDefaultButton) {
    QString title, defaultCaption;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        defaultCaption = box.defaultButton()->text();
        box.defaultButton()->click();
    });
    EXPECT_EQ(dialogs.confirm(
                  "Overschrijven?", ConfirmButtons::YesNo,
                  {.title = "Bestaande testafname gevonden...",
                   .defaultButton = ModalResult::No,
                   .fontFamily = {},
                   .messagePointSize = 0}),
              ModalResult::No);
    EXPECT_EQ(title, "Bestaande testafname gevonden...");
    EXPECT_EQ(defaultCaption, "&Nee");

    // Without options the first button is the default.
    whenOpen<QMessageBox>([&](QMessageBox& box) { box.defaultButton()->click(); });
    EXPECT_EQ(dialogs.confirm("Overschrijven?", ConfirmButtons::YesNo), ModalResult::Yes);
}

TEST_F(QtDialogsTest, ConfirmationTakesTheGivenFont) {
    QFont message, yes, no;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        message = box.findChild<QLabel*>("qt_msgbox_label")->font();
        yes = buttonNamed(box, "&Ja")->font();
        no = buttonNamed(box, "&Nee")->font();
        box.defaultButton()->click();
    });
    dialogs.confirm("Overschrijven?", ConfirmButtons::YesNo,
                    {.title = "Bestaande testafname gevonden...",
                     .defaultButton = ModalResult::No,
                     .fontFamily = "Arial",
                     .messagePointSize = 8});
    EXPECT_EQ(message.family(), "Arial");
    EXPECT_EQ(message.pointSize(), 8);
    EXPECT_EQ(yes.family(), "Arial");
    EXPECT_EQ(no.family(), "Arial");
    EXPECT_NE(yes.pointSize(), 8);  // only the message is small
}

TEST_F(QtDialogsTest, DismissingAYesNoBoxAnswersNeither) {
    whenOpen<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.confirm("Overschrijven?", ConfirmButtons::YesNo), ModalResult::Cancel);
    whenOpen<QMessageBox>([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(dialogs.confirm("Overschrijven?", ConfirmButtons::YesNo), ModalResult::Cancel);
    // Only the two answers show.
    whenOpen<QMessageBox>([](QMessageBox& box) {
        int shown = 0;
        for (QAbstractButton* b : box.buttons()) shown += b->isVisibleTo(&box) ? 1 : 0;
        EXPECT_EQ(shown, 2);
        box.defaultButton()->click();
    });
    EXPECT_EQ(dialogs.confirm("Overschrijven?", ConfirmButtons::YesNo), ModalResult::Yes);
}

TEST_F(QtDialogsTest, PlainMessageCarriesTheGivenTitle) {
    QString title, text;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        box.buttons().front()->click();
    });
    dialogs.message("Klomperix Test", "Foutmelding E001");
    EXPECT_EQ(title, "Klomperix Test");
    EXPECT_EQ(text, "Foutmelding E001");
}

TEST_F(QtDialogsTest, OpenDialogStartsInTheNativeFolderWithTheFilter) {
    auto dir = ui::testing::freshFolder("qt-dialogs");
    std::filesystem::create_directories(dir / "Incomplete afnames");
    std::ofstream(dir / "Incomplete afnames" / "K1_05-03-2011.zta") << "x";

    FileDialogRequest request;
    request.title = "Incomplete ZOR-afname openen en hervatten";
    request.initialDir = dir / "Incomplete afnames";
    request.defaultExt = "zta";
    request.filter = "ZOR-afname *.zta|*.zta";
    request.fileMustExist = true;

    QString folder, title;
    QStringList filters;
    whenOpen<QFileDialog>([&](QFileDialog& d) {
        folder = d.directory().absolutePath();
        title = d.windowTitle();
        filters = d.nameFilters();
        d.reject();
    });
    EXPECT_FALSE(dialogs.openFile(request));
    EXPECT_EQ(folder.toStdString(), (dir / "Incomplete afnames").string());
    EXPECT_EQ(title, "Incomplete ZOR-afname openen en hervatten");
    EXPECT_EQ(filters, QStringList({"ZOR-afname *.zta (*.zta)"}));

    whenOpen<QFileDialog>([&](QFileDialog& d) {
        d.selectFile("K1_05-03-2011.zta");
        static_cast<QDialog&>(d).accept();
    });
    auto chosen = dialogs.openFile(request);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (dir / "Incomplete afnames" / "K1_05-03-2011.zta").string());
}

TEST_F(QtDialogsTest, SaveDialogRefusesAFolderThatDoesNotExistWhenAsked) {
    auto dir = ui::testing::freshFolder("qt-dialogs-save");
    const std::string missing = (dir / "Rapporten" / "K1.zrp").string();
    FileDialogRequest request;
    request.title = "Naar bestand opslaan";
    request.initialDir = dir.string();
    request.filter = "ZOR-rapport (*.zrp)|*.*";
    request.defaultExt = "zrp";

    // Without the option the name is taken as it is.
    whenOpen<QFileDialog>([&](QFileDialog& d) {
        d.selectFile(QString::fromStdString(missing));
        static_cast<QDialog&>(d).accept();
    });
    EXPECT_EQ(dialogs.saveFile(request), missing);

    // With it, a warning, and the dialog stays open for another choice.
    request.pathMustExist = true;
    QString warning;
    int fileDialogs = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && warning.isEmpty()) {
            warning = box->text();
            box->buttons().front()->click();
        } else if (auto* d = qobject_cast<QFileDialog*>(modal); d && d->isVisible()) {
            const auto name = fileDialogs++ == 0 ? missing : (dir / "K1.zrp").string();
            d->selectFile(QString::fromStdString(name));
            static_cast<QDialog*>(d)->accept();
        }
    });
    poll.start(5);
    EXPECT_EQ(dialogs.saveFile(request), (dir / "K1.zrp").string());
    EXPECT_TRUE(warning.startsWith("Het pad bestaat niet."));
}

}  // namespace
}  // namespace zor::ui::qt
