// Prints a stored report page through Qt's print support onto a PDF print queue
// of a private CUPS server that the test starts and stops itself (its settings,
// spool and logs live in a temporary folder), and checks the printed PDF.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPrinter>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "pagestore/print_preview.h"
#include "pagestore/qt/qt_printer.h"
#include "qt_app.h"
#include "run_command.h"

namespace zor::pagestore::qt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* Queue = "ZORPDF";
constexpr const char* CupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

std::string readText(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The folder the PDF queue writes into for this user (its "Out" setting).
fs::path pdfOutputFolder() {
    const passwd* user = getpwuid(geteuid());
    std::string home = user ? user->pw_dir : "/root";
    std::string name = user ? user->pw_name : "root";
    std::string out = "${HOME}/PDF";
    std::ifstream conf("/etc/cups/cups-pdf.conf");
    for (std::string line; std::getline(conf, line);)
        if (line.rfind("Out ", 0) == 0) out = line.substr(4);
    out = std::regex_replace(out, std::regex(R"(\$\{HOME\})"), home);
    out = std::regex_replace(out, std::regex(R"(\$\{USER\})"), name);
    return out;
}

class PrivateCupsServer {
  public:
    ~PrivateCupsServer() { stop(); }

    // Starts the server with a PDF queue; returns why it could not, or "".
    std::string start() {
        if (geteuid() != 0) return "starting a print service needs root";
        if (!fs::exists("/usr/sbin/cupsd")) return "cupsd is not installed";
        if (!fs::exists("/usr/lib/cups/backend/cups-pdf") || !fs::exists(CupsPdfPpd))
            return "the CUPS PDF printer is not installed";
        char pattern[] = "/tmp/zor-cups-XXXXXX";
        if (!mkdtemp(pattern)) return "no temporary folder";
        root_ = pattern;
        for (const char* sub : {"etc", "spool", "cache", "state", "tmp", "log", "run"})
            fs::create_directories(root_ / sub);
        // The filters run as the print service's own user and must reach the folders.
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            fs::permissions(entry.path(), fs::perms::all, fs::perm_options::add);
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        socket_ = (root_ / "run" / "cups.sock").string();
        std::ofstream(root_ / "etc" / "cups-files.conf")
            << "ServerRoot " << (root_ / "etc").string() << "\n"
            << "RequestRoot " << (root_ / "spool").string() << "\n"
            << "CacheDir " << (root_ / "cache").string() << "\n"
            << "StateDir " << (root_ / "state").string() << "\n"
            << "TempDir " << (root_ / "tmp").string() << "\n"
            << "ErrorLog " << (root_ / "log" / "error_log").string() << "\n"
            << "AccessLog " << (root_ / "log" / "access_log").string() << "\n"
            << "PageLog " << (root_ / "log" / "page_log").string() << "\n"
            << "Printcap " << (root_ / "run" / "printcap").string() << "\n"
            << "DataDir /usr/share/cups\nServerBin /usr/lib/cups\nSandboxing Relaxed\n"
            << "SystemGroup root\n";
        std::ofstream(root_ / "etc" / "cupsd.conf")
            << "Listen " << socket_ << "\nLogLevel info\nWebInterface No\nBrowsing No\n"
            << "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            << "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";

        pid_ = fork();
        if (pid_ < 0) return "fork failed";
        if (pid_ == 0) {
            const std::string conf = (root_ / "etc" / "cupsd.conf").string();
            const std::string files = (root_ / "etc" / "cups-files.conf").string();
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (auto waited = 0ms; !fs::exists(socket_); waited += 100ms) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return "cupsd stopped at once: " + readText(root_ / "log" / "error_log");
            }
            if (waited > 15s) return "cupsd did not open its socket";
            std::this_thread::sleep_for(100ms);
        }
        setenv("CUPS_SERVER", socket_.c_str(), 1);
        return "";
    }

    // Adds the PDF queue; returns lpadmin's complaint when it fails. The queue
    // turns jobs into PostScript with pdftocairo, which keeps the text readable in
    // the PDF it makes of them.
    bool addPdfQueue(std::string& error) {
        error =
            zor::testing::commandOutput(std::string("lpadmin -h ") + socket_ + " -p " + Queue + " -E -v cups-pdf:/ -P " +
                CupsPdfPpd + " -o pdftops-renderer-default=pdftocairo 2>&1; echo rc=$?");
        return error.find("rc=0") != std::string::npos;
    }

    std::string log() const { return readText(root_ / "log" / "error_log"); }

    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            for (int i = 0; i < 100 && waitpid(pid_, nullptr, WNOHANG) != pid_; ++i)
                std::this_thread::sleep_for(100ms);
            if (kill(pid_, 0) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
            pid_ = -1;
        }
        if (!root_.empty()) {
            std::error_code ignored;
            fs::remove_all(root_, ignored);
            root_.clear();
        }
    }

  private:
    fs::path root_;
    std::string socket_;
    pid_t pid_ = -1;
};

TEST(CupsPrinting, StoredReportPagePrintsAsOneA4PageWithItsText) {
    PrivateCupsServer cups;
    if (const std::string why = cups.start(); !why.empty())
        GTEST_SKIP() << "No CUPS server could be started: " << why;
    std::string error;
    ASSERT_TRUE(cups.addPdfQueue(error)) << error;
    test::qtApp();

    // A stored report page, read back from its report file as the viewer does.
    TPrintPreview composed;
    composed.BeginDoc();
    emf::Canvas& canvas = *composed.Canvas();
    emf::Font font = canvas.font();
    font.name = "Calibri";
    font.setSize(16);
    canvas.setFont(font);
    canvas.textOut(2500, 3000, "ZOR-testrapport");
    canvas.textOut(2500, 4500, "Naam: Jan Jansen");
    composed.EndDoc();
    std::stringstream file;
    composed.SaveToStream(file);
    TPrintPreview store;
    store.LoadFromStream(file);
    ASSERT_EQ(store.TotalPages(), 1);

    auto printer = std::make_shared<QtPrinter>(Queue);
    ASSERT_TRUE(printer->Installed());
    ASSERT_EQ(printer->printer().printerName().toStdString(), Queue);
    const std::string title =
        "ZOR-printtest-" + std::to_string(getpid()) + "-" + std::to_string(std::time(nullptr));
    store.SetPrintJobTitle(title);
    // The queue writes the job as a PDF named after its title, into the user's
    // own PDF folder (the test removes the file, and the folder if it made it).
    const fs::path folder = pdfOutputFolder();
    const bool folderExisted = fs::exists(folder);
    store.SetPrinter(printer);
    EXPECT_EQ(store.FormName(), "A4");
    store.Print();
    EXPECT_FALSE(store.Aborted());

    fs::path printed;
    for (auto waited = 0s; printed.empty() && waited < 120s; waited += 1s) {
        std::this_thread::sleep_for(1s);
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.path().filename().string().rfind(title, 0) == 0) printed = entry.path();
    }
    ASSERT_FALSE(printed.empty()) << "nothing printed in " << folder << "\n" << cups.log();
    std::this_thread::sleep_for(1s);  // the queue may still be closing the file

    const std::string info = zor::testing::commandOutput("pdfinfo '" + printed.string() + "'");
    const std::string text = zor::testing::commandOutput("pdftotext '" + printed.string() + "' -");
    fs::remove(printed);
    if (!folderExisted) {
        std::error_code ignored;
        fs::remove(folder, ignored);  // only when empty
    }
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_TRUE(
        std::regex_search(info, std::regex(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts)")))
        << info;
    EXPECT_NE(text.find("ZOR-testrapport"), std::string::npos) << text;
    EXPECT_NE(text.find("Naam: Jan Jansen"), std::string::npos) << text;

    // The queue's forms, and a form of the store's own that lives with the printer.
    std::vector<std::string> names;
    ASSERT_TRUE(store.GetFormNames(names));
    EXPECT_NE(std::find(names.begin(), names.end(), "A4"), names.end());
    ASSERT_TRUE(printer->AddForm({"123mm x 234mm", 123000, 234000}));
    EXPECT_FALSE(printer->AddForm({"123mm x 234mm", 123000, 234000}));
    printer->ApplySettings({1, std::nullopt, std::nullopt, std::nullopt, "123mm x 234mm"});
    EXPECT_EQ(printer->ReadSettings().paperWidth, 1230);
    EXPECT_TRUE(printer->DeleteForm("123mm x 234mm"));
    EXPECT_FALSE(printer->DeleteForm("A4"));  // the queue's own forms stay
}

}  // namespace
}  // namespace zor::pagestore::qt
