#pragma once

#include "common/core_kind.h"
#include "common/core_options.h"
#include "common/settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys and values of the settings that the command-line tool and the core
// read, with the defaults that stand in for a missing or unreadable value: one
// reader per key, shared with the desktop program (whose own keys are in
// ide/shell/settings/ide_settings.h). Readers never fail except where noted
// (the scan chain).
namespace korvo::settings {

// Keys and value names.
inline constexpr std::string_view kOptionsKey = "Options";
inline constexpr std::string_view kCoreKind = "Korvo";

// The core chosen for each file, one value per file named by its path.
inline constexpr std::string_view kFileCoresKey = "FileCores";

inline constexpr std::string_view kTimeKey = "Time";
inline constexpr std::string_view kFrequency = "Frequency";

inline constexpr std::string_view kScratchPadKey = "ScratchPad";
inline constexpr std::string_view kScratchPadSize = "Size";

// The build of a core with build options (PicoBlaze 6).
inline constexpr std::string_view kCoreBuildKey = "PicoBlaze6";
inline constexpr std::string_view kProgramSize = "ProgramSize"; // words
inline constexpr std::string_view kInterruptVector = "InterruptVector";
inline constexpr std::string_view kHwBuild = "HwBuild";
inline constexpr std::string_view kBuildScratchPadSize = "ScratchPadSize"; // bytes

inline constexpr std::string_view kUartKey = "UART";
inline constexpr std::string_view kUartBaud = "Baud";
inline constexpr std::string_view kUartTcpBridge = "TcpBridge";

// The formatter's column positions (read and written by ReadFormatColumns
// and WriteFormatColumns in text/format_columns.h).
inline constexpr std::string_view kColumnsKey = "Columns";
inline constexpr std::array<std::string_view, 3> kColumnNames{"Column1", "Column2", "Column3"};

inline constexpr std::string_view kChainBeforeKey = "SVF/Before";
inline constexpr std::string_view kChainTargetKey = "SVF/Target";
inline constexpr std::string_view kChainAfterKey = "SVF/After";
inline constexpr std::string_view kCount = "Count";
inline constexpr std::string_view kChip = "Chip";
inline constexpr std::string_view kIRLength = "IRLength";
inline constexpr std::string_view kID = "ID";
inline constexpr std::string_view kIDCODE = "IDCODE";
inline constexpr std::string_view kUSER1 = "USER1";
inline constexpr std::string_view kAddressWidth = "AddressWidth";
inline constexpr std::string_view kDataWidth = "DataWidth";
inline constexpr std::string_view kAddressFirst = "AddressFirst";

// The core kind for new work; the first core when missing or not the number
// of a core. A stored value that is not the number of a core is a damaged
// setting: failure (when given) then gets the message to log.
TCoreKind LoadCoreKind(const ISettingsStore& store, std::string* failure = nullptr);
void StoreCoreKind(ISettingsStore& store, TCoreKind kind);

// The core chosen for one file (a path as the user gave it; it is made
// absolute), nothing when none was chosen.
std::optional<TCoreKind> LoadFileCoreKind(const ISettingsStore& store, std::string_view path);
void StoreFileCoreKind(ISettingsStore& store, std::string_view path, TCoreKind kind);
// The core a file is assembled for: its own, else the one for new work.
TCoreKind CoreKindForFile(const ISettingsStore& store, std::string_view path);
// The value name of a file below kFileCoresKey: its absolute path with "%",
// "/" and "\" written as "%25", "%2F" and "%5C", since the store splits
// keys at slashes.
std::string FileCoreValueName(std::string_view path);

// The clock frequency as stored (empty when missing); the dialog shows this.
std::string LoadClockFrequencyText(const ISettingsStore& store);
void StoreClockFrequencyText(ISettingsStore& store, std::string_view text);
// The clock frequency in whole MHz: decimal, or hexadecimal after "$", blanks
// around it allowed (ParseIntegerText); 80 when empty, not a number or not
// above 0.
inline constexpr std::int32_t kDefaultClockFrequency = 80;
std::int32_t LoadClockFrequencyMHz(const ISettingsStore& store);

// The scratch pad choice: an index into kScratchPadSizes (0 none, 1 16 bytes,
// 2 32, 3 64, 4 128, 5 256 bytes); 3 when missing or out of range.
inline constexpr std::array<std::int32_t, 6> kScratchPadSizes{0, 16, 32, 64, 128, 256};
inline constexpr std::int32_t kDefaultScratchPadChoice = 3;
std::int32_t LoadScratchPadChoice(const ISettingsStore& store);
void StoreScratchPadChoice(ISettingsStore& store, std::int32_t choice);
// The scratch pad size in bytes for a choice; 64 for any other number.
std::int32_t ScratchPadBytes(std::int32_t choice);
// The scratch pad a program of the core runs with: a core with build options
// was built with its size, the others take the setting (the default without
// settings).
std::int32_t ProgramScratchPadBytes(TCoreKind kind, const TCoreOptions& options,
                                    const ISettingsStore* store);

// The build options of a core as stored; a value that is missing or not one
// the core can have is its default (DefaultCoreOptions). A core without
// build options always gets its fixed values.
TCoreOptions LoadCoreOptions(const ISettingsStore& store, TCoreKind kind);
void StoreCoreOptions(ISettingsStore& store, const TCoreOptions& options);

// The line speed of the simulated UARTs in baud; 115200 when missing or
// outside kMinUartBaud to kMaxUartBaud.
inline constexpr std::int32_t kDefaultUartBaud = 115200;
inline constexpr std::int32_t kMinUartBaud = 50;
inline constexpr std::int32_t kMaxUartBaud = 10'000'000;
std::int32_t LoadUartBaud(const ISettingsStore& store);
void StoreUartBaud(ISettingsStore& store, std::int32_t baud);
// Whether a simulation serves its UARTs' TCP ports; on when missing.
bool LoadUartTcpBridge(const ISettingsStore& store);
void StoreUartTcpBridge(ISettingsStore& store, bool on);

// One device of the JTAG scan chain, every field as stored text: IR length
// in decimal, ID (8 digits), IDCODE and USER1 instructions (4 digits) in
// hexadecimal.
struct TChipDescription {
    std::string Chip;
    std::string IRLength;
    std::string ID;
    std::string IDCODE;
    std::string USER1;
    friend bool operator==(const TChipDescription&, const TChipDescription&) = default;
};

// The target device and the layout of its data register.
struct TScanTarget {
    TChipDescription Device;
    std::int32_t AddressWidth = 16;
    std::int32_t DataWidth = 16;
    bool AddressFirst = false; // the register's sequence: address or data first
    friend bool operator==(const TScanTarget&, const TScanTarget&) = default;
};

struct TScanChain {
    std::vector<TChipDescription> Before;
    std::optional<TScanTarget> Target; // empty when its key is absent
    std::vector<TChipDescription> After;
    friend bool operator==(const TScanChain&, const TScanChain&) = default;
};

// More devices on one side of the target than any real chain has; a larger
// count is taken as a damaged setting.
inline constexpr std::int32_t kMaxChainDevices = 256;

enum class TChainKeys {
    // An absent "SVF/Before", "SVF/Target" or "SVF/After" key reads as no
    // devices or no target (the SVF writer).
    OptionalKeys,
    // Every key counts as present, so an absent one fails on its first
    // required value (the settings dialog).
    RequiredKeys,
};

// Reads the scan chain into chain, in the order before-list, target,
// after-list. Throws ESettingsError when a required value ("Count",
// "AddressWidth", "DataWidth", "AddressFirst") is missing or not an integer,
// or a count is outside 0 to kMaxChainDevices; chain then holds what was read
// before the failure. A device key that is missing reads as a device with
// empty fields.
void LoadScanChain(const ISettingsStore& store, TChainKeys keys, TScanChain& chain);
// The same, all or nothing.
TScanChain LoadScanChain(const ISettingsStore& store, TChainKeys keys);
// Replaces the three chain keys: the device lists with their counts, the
// target only when one is given.
void StoreScanChain(ISettingsStore& store, const TScanChain& chain);

// The target the settings dialog proposes for a core while none is stored.
TChipDescription TargetPreset(TCoreKind kind);

} // namespace korvo::settings
