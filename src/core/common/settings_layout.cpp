#include "common/settings_layout.h"

#include "common/number_text.h"

#include <filesystem>

namespace korvo::settings {

namespace {
std::string ChainDeviceKey(std::string_view listKey, std::int32_t index) {
    return std::string(listKey) + "/" + std::to_string(index);
}

TChipDescription ReadChip(const ISettingsStore& store, std::string_view key) {
    return {ReadString(store, key, kChip), ReadString(store, key, kIRLength),
            ReadString(store, key, kID), ReadString(store, key, kIDCODE),
            ReadString(store, key, kUSER1)};
}

void WriteChip(ISettingsStore& store, std::string_view key, const TChipDescription& chip) {
    WriteString(store, key, kChip, chip.Chip);
    WriteString(store, key, kIRLength, chip.IRLength);
    WriteString(store, key, kID, chip.ID);
    WriteString(store, key, kIDCODE, chip.IDCODE);
    WriteString(store, key, kUSER1, chip.USER1);
}

std::vector<TChipDescription> ReadChipList(const ISettingsStore& store, std::string_view listKey,
                                           TChainKeys keys) {
    std::vector<TChipDescription> chips;
    if (keys == TChainKeys::OptionalKeys && !store.KeyExists(listKey)) return chips;
    std::int32_t count = ReadInteger(store, listKey, kCount);
    if (count < 0 || count > kMaxChainDevices)
        throw ESettingsError("Invalid value for '" + std::string(kCount) + "'");
    for (std::int32_t i = 0; i < count; ++i)
        chips.push_back(ReadChip(store, ChainDeviceKey(listKey, i)));
    return chips;
}

void WriteChipList(ISettingsStore& store, std::string_view listKey,
                   const std::vector<TChipDescription>& chips) {
    store.DeleteKey(listKey);
    WriteInteger(store, listKey, kCount, static_cast<std::int32_t>(chips.size()));
    for (std::size_t i = 0; i < chips.size(); ++i)
        WriteChip(store, ChainDeviceKey(listKey, static_cast<std::int32_t>(i)), chips[i]);
}
} // namespace

TCoreKind LoadCoreKind(const ISettingsStore& store, std::string* failure) {
    auto text = store.ReadValue(kOptionsKey, kCoreKind);
    if (!text) return kDefaultCoreKind;
    auto number = ParseInteger(*text);
    if (auto kind = number ? CoreKindFromNumber(*number) : std::nullopt) return *kind;
    if (failure) *failure = "Invalid data type for '" + std::string(kCoreKind) + "'";
    return kDefaultCoreKind;
}

void StoreCoreKind(ISettingsStore& store, TCoreKind kind) {
    WriteInteger(store, kOptionsKey, kCoreKind, static_cast<std::int32_t>(kind));
}

std::string FileCoreValueName(std::string_view path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    std::string full = (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
    std::string name;
    for (char c : full) {
        if (c == '%')
            name += "%25";
        else if (c == '/')
            name += "%2F";
        else if (c == '\\')
            name += "%5C";
        else
            name += c;
    }
    return name;
}

std::optional<TCoreKind> LoadFileCoreKind(const ISettingsStore& store, std::string_view path) {
    if (path.empty()) return std::nullopt;
    if (auto number = ReadOptionalInteger(store, kFileCoresKey, FileCoreValueName(path)))
        return CoreKindFromNumber(*number);
    return std::nullopt;
}

void StoreFileCoreKind(ISettingsStore& store, std::string_view path, TCoreKind kind) {
    if (!path.empty())
        WriteInteger(store, kFileCoresKey, FileCoreValueName(path),
                     static_cast<std::int32_t>(kind));
}

TCoreKind CoreKindForFile(const ISettingsStore& store, std::string_view path) {
    return LoadFileCoreKind(store, path).value_or(LoadCoreKind(store));
}

std::string LoadClockFrequencyText(const ISettingsStore& store) {
    return ReadString(store, kTimeKey, kFrequency);
}

void StoreClockFrequencyText(ISettingsStore& store, std::string_view text) {
    WriteString(store, kTimeKey, kFrequency, text);
}

std::int32_t LoadClockFrequencyMHz(const ISettingsStore& store) {
    auto value = ParseIntegerText(LoadClockFrequencyText(store));
    return value && *value > 0 ? *value : kDefaultClockFrequency;
}

std::int32_t LoadScratchPadChoice(const ISettingsStore& store) {
    std::int32_t choice =
        ReadIntegerOr(store, kScratchPadKey, kScratchPadSize, kDefaultScratchPadChoice);
    return choice >= 0 && choice < static_cast<std::int32_t>(kScratchPadSizes.size())
               ? choice
               : kDefaultScratchPadChoice;
}

void StoreScratchPadChoice(ISettingsStore& store, std::int32_t choice) {
    WriteInteger(store, kScratchPadKey, kScratchPadSize, choice);
}

std::int32_t ScratchPadBytes(std::int32_t choice) {
    return choice >= 0 && choice < static_cast<std::int32_t>(kScratchPadSizes.size())
               ? kScratchPadSizes[static_cast<std::size_t>(choice)]
               : kScratchPadSizes[kDefaultScratchPadChoice];
}

std::int32_t ProgramScratchPadBytes(TCoreKind kind, const TCoreOptions& options,
                                    const ISettingsStore* store) {
    if (CoreDescription(kind).HasBuildOptions) return options.ScratchPadSize;
    return ScratchPadBytes(store ? LoadScratchPadChoice(*store) : kDefaultScratchPadChoice);
}

TCoreOptions LoadCoreOptions(const ISettingsStore& store, TCoreKind kind) {
    TCoreOptions options = DefaultCoreOptions(kind);
    options.ProgramSize = ReadIntegerOr(store, kCoreBuildKey, kProgramSize, options.ProgramSize);
    options.InterruptVector =
        ReadIntegerOr(store, kCoreBuildKey, kInterruptVector, options.InterruptVector);
    options.HwBuild = ReadIntegerOr(store, kCoreBuildKey, kHwBuild, options.HwBuild);
    options.ScratchPadSize =
        ReadIntegerOr(store, kCoreBuildKey, kBuildScratchPadSize, options.ScratchPadSize);
    return EffectiveCoreOptions(kind, options);
}

void StoreCoreOptions(ISettingsStore& store, const TCoreOptions& options) {
    WriteInteger(store, kCoreBuildKey, kProgramSize, options.ProgramSize);
    WriteInteger(store, kCoreBuildKey, kInterruptVector, options.InterruptVector);
    WriteInteger(store, kCoreBuildKey, kHwBuild, options.HwBuild);
    WriteInteger(store, kCoreBuildKey, kBuildScratchPadSize, options.ScratchPadSize);
}

std::int32_t LoadUartBaud(const ISettingsStore& store) {
    std::int32_t baud = ReadIntegerOr(store, kUartKey, kUartBaud, kDefaultUartBaud);
    return baud >= kMinUartBaud && baud <= kMaxUartBaud ? baud : kDefaultUartBaud;
}

void StoreUartBaud(ISettingsStore& store, std::int32_t baud) {
    WriteInteger(store, kUartKey, kUartBaud, baud);
}

bool LoadUartTcpBridge(const ISettingsStore& store) {
    return ReadBoolOr(store, kUartKey, kUartTcpBridge, true);
}

void StoreUartTcpBridge(ISettingsStore& store, bool on) {
    WriteBool(store, kUartKey, kUartTcpBridge, on);
}

void LoadScanChain(const ISettingsStore& store, TChainKeys keys, TScanChain& chain) {
    chain = TScanChain{};
    chain.Before = ReadChipList(store, kChainBeforeKey, keys);
    if (keys == TChainKeys::RequiredKeys || store.KeyExists(kChainTargetKey)) {
        chain.Target = TScanTarget{ReadChip(store, kChainTargetKey)};
        chain.Target->AddressWidth = ReadInteger(store, kChainTargetKey, kAddressWidth);
        chain.Target->DataWidth = ReadInteger(store, kChainTargetKey, kDataWidth);
        chain.Target->AddressFirst = ReadBool(store, kChainTargetKey, kAddressFirst);
    }
    chain.After = ReadChipList(store, kChainAfterKey, keys);
}

TScanChain LoadScanChain(const ISettingsStore& store, TChainKeys keys) {
    TScanChain chain;
    LoadScanChain(store, keys, chain);
    return chain;
}

void StoreScanChain(ISettingsStore& store, const TScanChain& chain) {
    WriteChipList(store, kChainBeforeKey, chain.Before);
    store.DeleteKey(kChainTargetKey);
    if (chain.Target) {
        WriteChip(store, kChainTargetKey, chain.Target->Device);
        WriteInteger(store, kChainTargetKey, kAddressWidth, chain.Target->AddressWidth);
        WriteInteger(store, kChainTargetKey, kDataWidth, chain.Target->DataWidth);
        WriteBool(store, kChainTargetKey, kAddressFirst, chain.Target->AddressFirst);
    }
    WriteChipList(store, kChainAfterKey, chain.After);
}

TChipDescription TargetPreset(TCoreKind kind) {
    const TCoreDescription& core = CoreDescription(IsCoreKind(kind) ? kind : kDefaultCoreKind);
    return {std::string(core.PresetChip), std::string(core.PresetIRLength), "80234093", "0009",
            "0011"};
}

} // namespace korvo::settings
