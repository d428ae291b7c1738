#include "text/format_columns.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korvo {
namespace {

struct ParseCase {
    std::string Text;
    std::optional<TFormatColumns> Expected;
};

class ParseColumnsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseColumnsTest, ReadsThreeNumbers) {
    EXPECT_EQ(ParseFormatColumns(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseColumnsTest,
    ::testing::Values(ParseCase{"20,30,50", TFormatColumns{20, 30, 50}},
                      ParseCase{"0,0,1000", TFormatColumns{0, 0, 1000}},
                      ParseCase{"8,4,2", TFormatColumns{8, 4, 2}}, ParseCase{"", std::nullopt},
                      ParseCase{"20,30", std::nullopt}, ParseCase{"20,30,50,60", std::nullopt},
                      ParseCase{"20,,50", std::nullopt}, ParseCase{"20,30,", std::nullopt},
                      ParseCase{"-1,30,50", std::nullopt}, ParseCase{"+1,30,50", std::nullopt},
                      ParseCase{"20, 30,50", std::nullopt}, ParseCase{"20,30,1001", std::nullopt},
                      ParseCase{"20,30,99999999999", std::nullopt},
                      ParseCase{"a,b,c", std::nullopt}));

TEST(ReadFormatColumns, StoredValuesOrAllThreeDefaults) {
    TMemorySettingsStore store;
    EXPECT_EQ(ReadFormatColumns(store), (TFormatColumns{20, 30, 50}));
    WriteFormatColumns(store, {4, 12, 40});
    EXPECT_EQ(ReadFormatColumns(store), (TFormatColumns{4, 12, 40}));

    for (std::string bad : {"x", "", "-3", "1001"}) {
        TMemorySettingsStore broken;
        WriteFormatColumns(broken, {4, 12, 40});
        broken.WriteValue("Columns", "Column2", bad);
        EXPECT_EQ(ReadFormatColumns(broken), (TFormatColumns{20, 30, 50})) << bad;
    }
    TMemorySettingsStore partial;
    partial.WriteValue("Columns", "Column1", "5");
    EXPECT_EQ(ReadFormatColumns(partial), (TFormatColumns{20, 30, 50}));
}

} // namespace
} // namespace korvo
