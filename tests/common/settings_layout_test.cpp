// The settings layout's defaults for missing and unreadable values.
#include "common/settings_layout.h"
#include "settings_samples.h"
#include "text/format_columns.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvo::settings {
namespace {

TEST(SettingsLayout, FreshStoreGivesEveryDefault) {
    TMemorySettingsStore store;
    test::ExpectEveryDefault(store);
}

TEST(SettingsLayout, EverySettingRoundTrips) {
    TMemorySettingsStore store;
    test::StoreEverySetting(store);
    test::ExpectEverySetting(store);
}

struct TFallbackCase {
    const char* Name;
    std::string_view Key;
    std::string_view Value;
    std::string Text;
    std::function<bool(const ISettingsStore&)> Check;
};

class SettingsFallbacks : public ::testing::TestWithParam<TFallbackCase> {};

TEST_P(SettingsFallbacks, UnreadableValueGivesTheDefault) {
    TMemorySettingsStore store;
    store.WriteValue(GetParam().Key, GetParam().Value, GetParam().Text);
    EXPECT_TRUE(GetParam().Check(store));
}

INSTANTIATE_TEST_SUITE_P(
    SettingsLayout, SettingsFallbacks,
    ::testing::Values(
        TFallbackCase{"WindowLeftNotANumber", kWindowKey, kLeft, "ten",
                      [](const auto& s) { return LoadWindowSettings(s).Left == 10; }},
        TFallbackCase{"MaximizedAnyNonZero", kWindowKey, kMaximized, "7",
                      [](const auto& s) { return LoadWindowSettings(s).Maximized; }},
        TFallbackCase{"CoreKindOutOfRange", kOptionsKey, kCoreKind, "5",
                      [](const auto& s) {
                          std::string failure;
                          return LoadCoreKind(s, &failure) == TCoreKind::pbtI &&
                                 failure == "Invalid data type for 'Korvo'";
                      }},
        TFallbackCase{"CoreKindStored", kOptionsKey, kCoreKind, "3",
                      [](const auto& s) { return LoadCoreKind(s) == TCoreKind::pbt3; }},
        TFallbackCase{"FontSizeTooLarge", kEditorKey, kFontSize, "25",
                      [](const auto& s) { return LoadEditorSettings(s).FontSize == 9; }},
        TFallbackCase{
            "FontNameEmpty", kEditorKey, kFontName, "",
            [](const auto& s) { return LoadEditorSettings(s).FontName == "Courier New"; }},
        TFallbackCase{"SwitchUnreadable", kEditorKey, kSmartTab, "on",
                      [](const auto& s) { return !LoadEditorSettings(s).SmartTab; }},
        TFallbackCase{"SwitchOff", kEditorKey, kAutoIndent, "0",
                      [](const auto& s) { return LoadEditorSettings(s).AutoIndent == false; }},
        TFallbackCase{"FrequencyNotWhole", kTimeKey, kFrequency, "12.5",
                      [](const auto& s) {
                          return LoadClockFrequencyMHz(s) == 80 &&
                                 LoadClockFrequencyText(s) == "12.5";
                      }},
        TFallbackCase{"ScratchPadOutOfRange", kScratchPadKey, kScratchPadSize, "6",
                      [](const auto& s) { return LoadScratchPadChoice(s) == 3; }},
        TFallbackCase{"ScratchPadUnreadable", kScratchPadKey, kScratchPadSize, "abc",
                      [](const auto& s) { return LoadScratchPadChoice(s) == 3; }},
        TFallbackCase{
            "OneColumnMissing", kColumnsKey, kColumnNames[0], "4",
            [](const auto& s) { return ReadFormatColumns(s) == korvo::TFormatColumns{}; }},
        TFallbackCase{
            "AttributeValueUnreadable", "Attributes/Number", kForeground, "red",
            [](const auto& s) { return LoadAttribute(s, "Number") == TStoredAttribute{}; }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsLayout, ClockFrequencyText) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 80},     {"abc", 80},  {"0", 80},   {"-5", 80}, {"100", 100},
        {"$64", 100}, {" 50 ", 50}, {"12x", 80}, {"$G", 80}, {"\t7", 7},
    };
    for (const auto& [text, mhz] : cases) {
        TMemorySettingsStore store;
        StoreClockFrequencyText(store, text);
        EXPECT_EQ(LoadClockFrequencyMHz(store), mhz) << text;
    }
}

// A missing or unreadable value ends its block; a rectangle without size is
// the default one.
TEST(SettingsLayout, WindowBlocksEndAtTheFirstMissingValue) {
    struct TCase {
        std::vector<std::pair<std::string_view, const char*>> Stored;
        TWindowSettings Expected;
    };
    const TCase cases[] = {
        {{{kLeft, "30"}, {kWidth, "800"}, {kHeight, "500"}}, {"", 30, 10, 600, 400}},
        {{{kLeft, "30"}, {kTop, "40"}, {kWidth, "800"}, {kHeight, "0"}}, {"", 10, 10, 600, 400}},
        {{{kLeft, "-30"}, {kTop, "40"}, {kWidth, "800"}, {kHeight, "500"}},
         {"", -30, 40, 800, 500}},
        {{{kMaximized, "x"}, {kShowStatusbar, "0"}}, {}},
        {{{kMaximized, "0"}, {kShowStatusbar, "0"}}, {"", 10, 10, 600, 400, false, false, true}},
    };
    for (const auto& c : cases) {
        TMemorySettingsStore store;
        for (auto [name, value] : c.Stored)
            store.WriteValue(kWindowKey, name, value);
        EXPECT_EQ(LoadWindowSettings(store), c.Expected) << c.Stored.front().first;
    }
}

TEST(SettingsLayout, ScratchPadBytesPerChoice) {
    const std::vector<std::pair<int, int>> cases{{0, 0},   {1, 16},  {2, 32}, {3, 64},
                                                 {4, 128}, {5, 256}, {6, 64}, {-1, 64}};
    for (auto [choice, bytes] : cases)
        EXPECT_EQ(ScratchPadBytes(choice), bytes) << choice;
}

TEST(SettingsLayout, RecentFilesKeepOrderAndDropStaleEntries) {
    TMemorySettingsStore store;
    StoreRecentFiles(store, {"/a.psm", "/b.psm", "/c.psm", "/d.psm", "/e.psm", "/f.psm"});
    EXPECT_EQ(LoadRecentFiles(store),
              (std::vector<std::string>{"/a.psm", "/b.psm", "/c.psm", "/d.psm", "/e.psm"}));
    StoreRecentFiles(store, {"/x.psm"});
    EXPECT_EQ(LoadRecentFiles(store), std::vector<std::string>{"/x.psm"});
    EXPECT_EQ(store.ReadValue(kRecentFilesKey, "MRUFile2"), std::nullopt);
}

TEST(SettingsLayout, StoringTheChainReplacesTheOldOne) {
    TMemorySettingsStore store;
    TScanChain big;
    big.Before = {{"A", "8", "", "", ""}, {"B", "6", "", "", ""}, {"C", "5", "", "", ""}};
    big.Target = TScanTarget{TargetPreset(TCoreKind::pbt3), 18, 16, true};
    StoreScanChain(store, big);
    EXPECT_EQ(LoadScanChain(store, TChainKeys::RequiredKeys), big);
    TScanChain small;
    small.After = {{"D", "8", "1", "2", "3"}};
    StoreScanChain(store, small);
    EXPECT_FALSE(store.KeyExists("SVF/Before/2"));
    EXPECT_FALSE(store.KeyExists(kChainTargetKey));
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), small);
}

// The settings dialog shows what was read before a failure.
TEST(SettingsLayout, ChainReadStopsAtTheFirstFailure) {
    TMemorySettingsStore store;
    TScanChain stored{{{"A", "8", "", "", ""}},
                      TScanTarget{{"T", "6", "1", "2", "3"}, 18, 16, true},
                      {{"B", "5", "", "", ""}}};
    StoreScanChain(store, stored);
    store.DeleteValue(kChainTargetKey, kDataWidth);
    TScanChain chain;
    EXPECT_THROW(LoadScanChain(store, TChainKeys::RequiredKeys, chain), ESettingsError);
    EXPECT_EQ(chain.Before, stored.Before);
    ASSERT_TRUE(chain.Target);
    EXPECT_EQ(chain.Target->Device, stored.Target->Device);
    EXPECT_EQ(chain.Target->AddressWidth, 18);
    EXPECT_TRUE(chain.After.empty());
}

TEST(SettingsLayout, TargetPresetsPerCore) {
    const std::vector<std::pair<TCoreKind, TChipDescription>> cases{
        {TCoreKind::pbtI, {"Spartan-II", "5", "80234093", "0009", "0011"}},
        {TCoreKind::pbtII, {"Vitex-II", "6", "80234093", "0009", "0011"}},
        {TCoreKind::pbt3, {"Spartan-3", "6", "80234093", "0009", "0011"}},
        {TCoreKind::pbtC, {"CoolRunner-II", "8", "80234093", "0009", "0011"}},
    };
    for (const auto& [kind, preset] : cases)
        EXPECT_EQ(TargetPreset(kind), preset);
}

} // namespace
} // namespace korvo::settings
