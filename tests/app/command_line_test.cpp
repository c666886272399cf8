// zor-tool's command-line conventions, for every subcommand in the table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "command_line.h"
#include "run_command.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun RunCommand(const Subcommand& command, const Arguments& arguments) {
    std::ostringstream out, err;
    const int status = command.run(arguments, out, err);
    return {status, out.str(), err.str()};
}

struct CommandLineTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zor-tool-options-" + std::to_string(::getpid()));
    CommandLineTest() {
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);  // a file named after an option would land here
    }
    ~CommandLineTest() override {
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir);
    }
};

TEST_F(CommandLineTest, EverySubcommandRefusesUnknownOptionsAndTakesNothingAsAFileName) {
    for (const Subcommand& command : Subcommands()) {
        SCOPED_TRACE(std::string(command.name));
        const std::string usageLine = "Gebruik: zor-tool " + std::string(command.name) + " ";
        for (const Arguments& arguments :
             {Arguments{"a.zrp", "--bogus"}, Arguments{"-x", "a", "b", "c"}, Arguments{"a", "--date"},
              Arguments{"--csv=1", "a"}, Arguments{"a", "b", "c", "--date=2020-02-03"},
              Arguments{"-j0", "a", "b"}, Arguments{"a", "b", "-j", "2x"}}) {
            const CommandRun run = RunCommand(command, arguments);
            EXPECT_EQ(run.status, kExitUsage) << arguments[0] << " " << arguments[1];
            EXPECT_NE(run.err.find(usageLine), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
        }
        EXPECT_TRUE(fs::is_empty(dir)) << "a file was written";

        const CommandRun help = RunCommand(command, {"a", "--help", "--bogus"});
        EXPECT_EQ(help.status, kExitSuccess);
        EXPECT_TRUE(help.out.starts_with(usageLine)) << help.out;
        for (const Option& option : command.options)
            EXPECT_NE(help.out.find(std::string(option.name)), std::string::npos) << option.name;
    }
}

TEST_F(CommandLineTest, DoubleDashEndsTheOptionsAndValuesMayBeAttached) {
    const Subcommand& command = *FindSubcommand("pdf");
    int status = -1;
    std::ostringstream out, err;
    const auto line = ParseCommandLine(
        command, {"--date=05-03-2011", "--", "--missing", "-", "--help"}, out, err, status);
    ASSERT_TRUE(line) << err.str();
    EXPECT_EQ(line->value("--date"), "05-03-2011");
    EXPECT_FALSE(line->has("--missing"));
    EXPECT_EQ(line->operands, (std::vector<std::string>{"--missing", "-", "--help"}));

    // An operand after "--" that looks like an option reaches the command as a file name.
    const CommandRun scores = RunCommand(*FindSubcommand("scores"), {"--", "-FW.wda", "-FV.vda"});
    EXPECT_EQ(scores.status, kExitFailure);
    EXPECT_NE(scores.err.find("-FW.wda"), std::string::npos) << scores.err;
}

TEST(ZorToolProgram, HelpVersionAndExitStatuses) {
    using zor::testing::runCommand;
    const std::string tool = ZOR_TOOL_PATH;
    const auto help = runCommand(tool + " help");
    EXPECT_EQ(help.exitCode, 0);
    for (const Subcommand& command : Subcommands())
        EXPECT_NE(help.output.find("  " + std::string(command.name) + " "), std::string::npos);
    EXPECT_NE(help.output.find("0 gelukt, 1 mislukt, 2 verkeerd gebruik"), std::string::npos);
    EXPECT_EQ(runCommand(tool + " help report").output.rfind("Gebruik: zor-tool report ", 0), 0u);
    EXPECT_EQ(runCommand(tool + " help onzin").exitCode, 2);
    EXPECT_EQ(runCommand(tool + " --onzin").exitCode, 2);
    const auto version = runCommand(tool + " --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.starts_with("zor-tool ")) << version.output;
    EXPECT_EQ(runCommand(tool + " scores --help").exitCode, 0);
}

}  // namespace
}  // namespace zor::tool
