#include "assembler/syn_picoblaze.h"
#include "common/text_file.h"
#include "text/kcpsm_import.h"
#include "text/source_formatter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace korvo {
namespace {

namespace fs = std::filesystem;

constexpr std::array<TCoreKind, 4> kCores{TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3,
                                          TCoreKind::pbtC};

// Every source file under the folder, sorted; none when it does not exist.
std::vector<std::string> SourcesUnder(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        auto extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".psm" || extension == ".asm"))
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ExpectFormattingIsStable(const std::vector<std::string>& files) {
    TSynPicoBlaze scanner;
    for (const auto& file : files) {
        auto lines = ReadTextLines(file);
        for (TCoreKind core : kCores) {
            SCOPED_TRACE(file + ", core " + std::to_string(static_cast<int>(core)));
            for (const TFormatColumns& columns : {TFormatColumns{}, TFormatColumns{4, 12, 24}}) {
                auto once = FormatLines(scanner, lines, core, columns);
                ASSERT_EQ(once.size(), lines.size());
                EXPECT_EQ(FormatLines(scanner, once, core, columns), once);
            }
        }
    }
}

// The example programs and every source of the tests.
TEST(FormatIdempotence, FormattingTwiceChangesNothing) {
    auto files = SourcesUnder(KORVO_EXAMPLES_DIR);
    auto data = SourcesUnder(fs::path(KORVO_TEST_DATA_DIR));
    ASSERT_FALSE(data.empty());
    files.insert(files.end(), data.begin(), data.end());
    ExpectFormattingIsStable(files);
}

TEST(FormatIdempotence, ImportedProgramsAreFormatted) {
    TSynPicoBlaze scanner;
    auto files = SourcesUnder(fs::path(KORVO_TEST_DATA_DIR) / "text" / "kcpsm");
    ASSERT_GE(files.size(), 3u);
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        auto imported = ConvertKcpsmSource(scanner, ReadTextLines(file), TCoreKind::pbt3, {});
        EXPECT_EQ(FormatLines(scanner, imported, TCoreKind::pbt3, {}), imported);
    }
}

} // namespace
} // namespace korvo
