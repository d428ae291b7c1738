// The settings layout's defaults for missing and unreadable values.
#include "common/settings_layout.h"
#include "settings_samples.h"
#include "text/format_columns.h"

#include <gtest/gtest.h>

namespace korvo::settings {
namespace {

TEST(SettingsLayout, DefaultsAndRoundTrip) {
    TMemorySettingsStore store;
    test::ExpectEveryDefault(store);
    test::StoreEverySetting(store);
    test::ExpectEverySetting(store);
}

// An unreadable value gives the default.
TEST(SettingsLayout, UnreadableValuesGiveTheDefaults) {
    auto with = [](std::string_view key, std::string_view name, const std::string& text) {
        auto store = std::make_unique<TMemorySettingsStore>();
        store->WriteValue(key, name, text);
        return store;
    };
    std::string failure;
    EXPECT_EQ(LoadCoreKind(*with(kOptionsKey, kCoreKind, "6"), &failure), TCoreKind::pbtI);
    EXPECT_EQ(failure, "Invalid data type for 'Korvo'");
    EXPECT_EQ(LoadCoreKind(*with(kOptionsKey, kCoreKind, "3")), TCoreKind::pbt3);
    EXPECT_EQ(
        LoadScanChain(*with("SVF/Before", "Count", "256"), TChainKeys::OptionalKeys).Before.size(),
        256u);
    EXPECT_EQ(LoadClockFrequencyText(*with(kTimeKey, kFrequency, "12.5")), "12.5");
    EXPECT_EQ(LoadScratchPadChoice(*with(kScratchPadKey, kScratchPadSize, "6")), 3);
    EXPECT_EQ(LoadScratchPadChoice(*with(kScratchPadKey, kScratchPadSize, "abc")), 3);
    EXPECT_EQ(ReadFormatColumns(*with(kColumnsKey, kColumnNames[0], "4")), TFormatColumns{});
    // A build the hardware cannot have: a program size, a HWBUILD value, a
    // scratch pad size.
    EXPECT_EQ(LoadCoreOptions(*with(kCoreBuildKey, kProgramSize, "3072"), TCoreKind::pbt6),
              (TCoreOptions{4096, 0x3FF, 0, 64}));
    EXPECT_EQ(LoadCoreOptions(*with(kCoreBuildKey, kHwBuild, "256"), TCoreKind::pbt6).HwBuild, 0);
    EXPECT_EQ(LoadCoreOptions(*with(kCoreBuildKey, kHwBuild, "255"), TCoreKind::pbt6).HwBuild, 255);
    EXPECT_EQ(LoadCoreOptions(*with(kCoreBuildKey, kBuildScratchPadSize, "32"), TCoreKind::pbt6),
              (TCoreOptions{4096, 0x3FF, 0, 64}));
    const std::pair<const char*, std::int32_t> frequencies[] = {
        {"", 80},     {"abc", 80}, {"0", 80},  {"-5", 80}, {"100", 100}, {"$64", 100},
        {" 50 ", 50}, {"12x", 80}, {"$G", 80}, {"\t7", 7}, {"12.5", 80}};
    for (const auto& [text, mhz] : frequencies)
        EXPECT_EQ(LoadClockFrequencyMHz(*with(kTimeKey, kFrequency, text)), mhz) << text;
    for (auto [choice, bytes] :
         {std::pair{0, 0}, {1, 16}, {2, 32}, {3, 64}, {4, 128}, {5, 256}, {6, 64}, {-1, 64}})
        EXPECT_EQ(ScratchPadBytes(choice), bytes) << choice;
}

// Storing a chain replaces the old one; a read stops at the first failure
// and keeps what it read before (the settings dialog shows that).
TEST(SettingsLayout, ScanChains) {
    TMemorySettingsStore store;
    TScanChain big{{{"A", "8", "", "", ""}, {"B", "6", "", "", ""}, {"C", "5", "", "", ""}},
                   TScanTarget{{"T", "6", "1", "2", "3"}, 18, 16, true},
                   {{"D", "5", "", "", ""}}};
    StoreScanChain(store, big);
    EXPECT_EQ(LoadScanChain(store, TChainKeys::RequiredKeys), big);
    store.DeleteValue(kChainTargetKey, kDataWidth);
    TScanChain chain;
    EXPECT_THROW(LoadScanChain(store, TChainKeys::RequiredKeys, chain), ESettingsError);
    EXPECT_EQ(chain.Before, big.Before);
    ASSERT_TRUE(chain.Target);
    EXPECT_EQ(chain.Target->Device, big.Target->Device);
    EXPECT_EQ(chain.Target->AddressWidth, 18);
    EXPECT_TRUE(chain.After.empty());
    TScanChain small;
    small.After = {{"D", "8", "1", "2", "3"}};
    StoreScanChain(store, small);
    EXPECT_FALSE(store.KeyExists("SVF/Before/2"));
    EXPECT_FALSE(store.KeyExists(kChainTargetKey));
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), small);
}

} // namespace
} // namespace korvo::settings
