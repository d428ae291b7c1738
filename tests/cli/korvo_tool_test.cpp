#include "cli_support.h"

#include "korvo_version.h"

#include <gtest/gtest.h>

namespace korvo::cli::test {
namespace {

TEST(KorvoTool, PrintsVersion) {
    auto result = RunExecutable({"--version"});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, std::string(kApplicationTitle) + " " + kProductVersion + "\n");
}

TEST(KorvoTool, UnknownCommandIsUsageError) {
    auto result = RunInProcess({"frobnicate"});
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Err.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_EQ(RunInProcess({}).Status, 2);
}

} // namespace
} // namespace korvo::cli::test
