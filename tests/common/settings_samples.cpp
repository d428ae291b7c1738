#include "settings_samples.h"

#include "common/settings_layout.h"
#include "text/format_columns.h"

#include <gtest/gtest.h>

namespace korvo::test {

using namespace settings;

namespace {
const korvo::TFormatColumns kColumns{4, 17, 64};
const TCoreOptions kBuild{2048, 0x123, 0xA5, 128};
const TScanChain kChain{{{"XC9536", "8", "09602093", "00FE", "00FD"},
                         {"XCF02S, rev 2", "6", "05045093", "00FE", "00FD"}},
                        TScanTarget{{"Spartan-3", "6", "0141C093", "0009", "0002"}, 18, 16, true},
                        {{"XC2C64", "8", "06E5E093", "0001", "00FD"}}};
} // namespace

void StoreEverySetting(ISettingsStore& store) {
    StoreCoreKind(store, TCoreKind::pbtC);
    StoreClockFrequencyText(store, "125");
    StoreScratchPadChoice(store, 5);
    StoreCoreOptions(store, kBuild);
    WriteFormatColumns(store, kColumns);
    StoreScanChain(store, kChain);
}

void ExpectEverySetting(const ISettingsStore& store) {
    EXPECT_EQ(LoadCoreKind(store), TCoreKind::pbtC);
    EXPECT_EQ(LoadClockFrequencyText(store), "125");
    EXPECT_EQ(LoadClockFrequencyMHz(store), 125);
    EXPECT_EQ(LoadScratchPadChoice(store), 5);
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt6), kBuild);
    // A core without build options keeps its own.
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt3), (TCoreOptions{1024, 0x3FF, 0, 64}));
    EXPECT_EQ(ReadFormatColumns(store), kColumns);
    EXPECT_EQ(LoadScanChain(store, TChainKeys::RequiredKeys), kChain);
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), kChain);
}

void ExpectEveryDefault(const ISettingsStore& store) {
    EXPECT_EQ(LoadCoreKind(store), TCoreKind::pbtI);
    EXPECT_EQ(LoadClockFrequencyText(store), "");
    EXPECT_EQ(LoadClockFrequencyMHz(store), 80);
    EXPECT_EQ(LoadScratchPadChoice(store), 3);
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt6), (TCoreOptions{4096, 0x3FF, 0, 64}));
    EXPECT_EQ(ReadFormatColumns(store), (korvo::TFormatColumns{20, 30, 50}));
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), TScanChain{});
    // The settings dialog counts every key as present, so a fresh store fails.
    EXPECT_THROW(LoadScanChain(store, TChainKeys::RequiredKeys), ESettingsError);
}

} // namespace korvo::test
