// The core the IDE remembers for a file comes before the stored one; the
// settings file is written as the IDE writes it.
#include "cli_support.h"
#include "common/settings_layout.h"
#include "settings/qt_settings_store.h"

#include <gtest/gtest.h>

namespace korvo::cli::test {
namespace {

TEST(AsmCommand, TheCoreRememberedForTheFileComesFirst) {
    korvo::test::TScratchFolder dir;
    dir.Write("p.psm", "LOAD s1, s2\n");
    {
        TQtSettingsStore store(dir / "chosen.ini");
        WriteInteger(store, "Options", "Korvo", 2);
        settings::StoreFileCoreKind(store, dir / "./p.psm", TCoreKind::pbtC);
    }
    auto result = RunShell("cd " + ShellQuote(dir.Path()) + " && " + ShellQuote(KORVO_EXECUTABLE) +
                           " asm --settings chosen.ini --listing - p.psm");
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "$00 $4140\n"); // the log goes to standard error
}

} // namespace
} // namespace korvo::cli::test
