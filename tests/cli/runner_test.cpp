#include "support/cli_run.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zorvant::cli {
namespace {

using testing::CliResult;

CliResult run(const std::vector<std::string>& args) {
    return testing::runCliCaptured(args);
}

TEST(Cli, PrintsVersionAndHelp) {
    EXPECT_EQ(run({"--version"}).out, "1.1\n");
    const CliResult help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("zorvant-cli --version"), std::string::npos);
}

TEST(Cli, RefusesUnknownCommandsAndNoArguments) {
    const CliResult unknown = run({"frobnicate"});
    EXPECT_NE(unknown.code, 0);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("неизвестная команда «frobnicate»"), std::string::npos);
    const CliResult none = run({});
    EXPECT_NE(none.code, 0);
    EXPECT_NE(none.err.find("Использование"), std::string::npos);
}

} // namespace
} // namespace zorvant::cli
