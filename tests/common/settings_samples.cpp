#include "settings_samples.h"

#include "common/settings_layout.h"
#include "text/format_columns.h"

#include <gtest/gtest.h>

namespace korvo::test {

using namespace settings;

namespace {
const TWindowSettings kWindow{"0.9.1", -20, 35, 1280, 1024, true, false, false};
const std::vector<std::string> kRecentFiles{"/work/a b.psm", "C:\\src\\blink.psm", "/x/ü.asm",
                                            "/d.psm", "/e.psm"};
const TEditorSettings kEditor{"DejaVu Sans Mono", 14, true, false, true, false, true};
const korvo::TFormatColumns kColumns{4, 17, 64};
const TCoreOptions kBuild{2048, 0x123, 0xA5, 128};
const TScanChain kChain{{{"XC9536", "8", "09602093", "00FE", "00FD"},
                         {"XCF02S, rev 2", "6", "05045093", "00FE", "00FD"}},
                        TScanTarget{{"Spartan-3", "6", "0141C093", "0009", "0002"}, 18, 16, true},
                        {{"XC2C64", "8", "06E5E093", "0001", "00FD"}}};

TStoredAttribute AttributeSample(std::size_t index) {
    auto number = static_cast<std::int32_t>(index);
    return {0x010203 * number, 0xFFFFFF - number, number % 16};
}
} // namespace

void StoreEverySetting(ISettingsStore& store) {
    StoreWindowSettings(store, kWindow);
    StoreRecentFiles(store, kRecentFiles);
    StoreCoreKind(store, TCoreKind::pbtC);
    StoreEditorSettings(store, kEditor);
    StoreClockFrequencyText(store, "125");
    StoreScratchPadChoice(store, 5);
    StoreCoreOptions(store, kBuild);
    WriteFormatColumns(store, kColumns);
    for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
        StoreAttribute(store, kAttributeNames[i], AttributeSample(i));
    StoreScanChain(store, kChain);
}

void ExpectEverySetting(const ISettingsStore& store) {
    EXPECT_EQ(LoadWindowSettings(store), kWindow);
    EXPECT_EQ(LoadRecentFiles(store), kRecentFiles);
    EXPECT_EQ(LoadCoreKind(store), TCoreKind::pbtC);
    EXPECT_EQ(LoadEditorSettings(store), kEditor);
    EXPECT_EQ(LoadClockFrequencyText(store), "125");
    EXPECT_EQ(LoadClockFrequencyMHz(store), 125);
    EXPECT_EQ(LoadScratchPadChoice(store), 5);
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt6), kBuild);
    // A core without build options keeps its own.
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt3), (TCoreOptions{1024, 0x3FF, 0, 64}));
    EXPECT_EQ(ReadFormatColumns(store), kColumns);
    for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
        EXPECT_EQ(LoadAttribute(store, kAttributeNames[i]), AttributeSample(i))
            << kAttributeNames[i];
    EXPECT_EQ(LoadScanChain(store, TChainKeys::RequiredKeys), kChain);
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), kChain);
}

void ExpectEveryDefault(const ISettingsStore& store) {
    EXPECT_EQ(LoadWindowSettings(store),
              (TWindowSettings{"", 10, 10, 600, 400, false, true, true}));
    EXPECT_TRUE(LoadRecentFiles(store).empty());
    EXPECT_EQ(LoadCoreKind(store), TCoreKind::pbtI);
    TEditorSettings editor = LoadEditorSettings(store);
    EXPECT_EQ(editor.FontName, "Courier New");
    EXPECT_EQ(editor.FontSize, 9);
    for (const auto* option : {&editor.SmartTab, &editor.TabIndent, &editor.TabsToSpaces,
                               &editor.TabDelete, &editor.AutoIndent})
        EXPECT_EQ(*option, std::nullopt);
    EXPECT_EQ(LoadClockFrequencyText(store), "");
    EXPECT_EQ(LoadClockFrequencyMHz(store), 80);
    EXPECT_EQ(LoadScratchPadChoice(store), 3);
    EXPECT_EQ(LoadCoreOptions(store, TCoreKind::pbt6), (TCoreOptions{4096, 0x3FF, 0, 64}));
    EXPECT_EQ(ReadFormatColumns(store), (korvo::TFormatColumns{20, 30, 50}));
    for (auto name : kAttributeNames)
        EXPECT_EQ(LoadAttribute(store, name), TStoredAttribute{});
    EXPECT_EQ(LoadScanChain(store, TChainKeys::OptionalKeys), TScanChain{});
    // The settings dialog counts every key as present, so a fresh store fails.
    EXPECT_THROW(LoadScanChain(store, TChainKeys::RequiredKeys), ESettingsError);
}

} // namespace korvo::test
