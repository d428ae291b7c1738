#include "output/svf_writer.h"

#include "common/hex_text.h"
#include "common/jtag_widths.h"
#include "common/settings_layout.h"
#include "korvo_version.h"
#include "output/save_output.h"
#include "output/svf_fields.h"

#include <exception>

namespace korvo {

namespace {
// Longer than any device's instruction register; a larger value is taken as
// a damaged setting rather than written out as a huge pattern.
constexpr int kMaxIRLength = 1024;
constexpr int kMaxFieldWidth = 32;

// The chain reduced to the numbers the file needs.
struct TSvfChain {
    std::vector<std::string> Comments;
    int BeforeBits = 0;
    int BeforeDevices = 0;
    int TargetBits = 0;
    int AfterBits = 0;
    int AfterDevices = 0;
    std::uint64_t ID = 0;
    std::uint64_t IDCODE = 0;
    std::uint64_t USER1 = 0;
    int AddressWidth = 0;
    int DataWidth = 0;
    bool AddressFirst = false;
};

// Empty text or text that is not a number counts as 0.
int IRLength(const std::string& text) {
    int length = ParseInteger(text).value_or(0);
    if (length < 0 || length > kMaxIRLength)
        throw ESettingsError("Invalid value for '" + std::string(settings::kIRLength) + "'");
    return length;
}

std::uint64_t HexValue(const std::string& text) {
    return ParseHex(text).value_or(0);
}

int FieldWidth(int width, std::string_view name) {
    if (width < 0 || width > kMaxFieldWidth)
        throw ESettingsError("Invalid value for '" + std::string(name) + "'");
    return width;
}

TSvfChain ReadChain(const ISettingsStore& store) {
    const settings::TScanChain stored =
        settings::LoadScanChain(store, settings::TChainKeys::OptionalKeys);
    TSvfChain chain;
    for (std::size_t i = 0; i < stored.Before.size(); ++i) {
        chain.Comments.push_back("// Chip " + std::to_string(i) +
                                 " before the target: " + stored.Before[i].Chip);
        chain.BeforeBits += IRLength(stored.Before[i].IRLength);
        ++chain.BeforeDevices;
    }
    if (const auto& target = stored.Target) {
        chain.Comments.push_back("// The target chip: " + target->Device.Chip);
        chain.TargetBits = IRLength(target->Device.IRLength);
        chain.ID = HexValue(target->Device.ID);
        chain.IDCODE = HexValue(target->Device.IDCODE);
        chain.USER1 = HexValue(target->Device.USER1);
        chain.AddressWidth = FieldWidth(target->AddressWidth, settings::kAddressWidth);
        chain.DataWidth = FieldWidth(target->DataWidth, settings::kDataWidth);
        chain.AddressFirst = target->AddressFirst;
    }
    for (std::size_t i = 0; i < stored.After.size(); ++i) {
        chain.Comments.push_back("// Chip " + std::to_string(i) +
                                 " after the target: " + stored.After[i].Chip);
        chain.AfterBits += IRLength(stored.After[i].IRLength);
        ++chain.AfterDevices;
    }
    return chain;
}

void AddLine(std::string& text, std::string_view line) {
    text += line;
    text += "\r\n";
}

// "KIND length TDI (ones) SMASK (ones) ;", the bypass pattern of one side.
std::string AllOnes(std::string_view kind, int bits) {
    std::string ones = OnesBits(bits);
    return std::string(kind) + " " + std::to_string(bits) + " TDI (" + ones + ") SMASK (" + ones +
           ") ;";
}

// The word goes into the address-width field and the address into the
// data-width field (see SvfDataRecord). Empty when the core's words and
// addresses fit; otherwise the failure, naming the settings that would fit.
std::string RecordMisfit(const TSvfChain& chain, const TCodeWords& words) {
    const TCoreDescription& core = words.Core();
    // The program size of the build (PicoBlaze 6: 1K to 4K words).
    const int codeSize = words.Size();
    auto fits = [&](int addressWidth, int dataWidth) {
        return core.WordBits <= addressWidth &&
               static_cast<std::uint64_t>(codeSize - 1) < (std::uint64_t{1} << dataWidth);
    };
    if (fits(chain.AddressWidth, chain.DataWidth)) return {};
    std::string fitting;
    for (int dataWidth : {kJtagWideDataWidth, kJtagNarrowDataWidth})
        for (int addressWidth = kJtagMinAddressWidth; addressWidth <= kJtagMaxAddressWidth;
             ++addressWidth)
            if (JtagWidthsGoTogether(dataWidth, addressWidth) && fits(addressWidth, dataWidth))
                fitting += (fitting.empty() ? "" : ", ") + std::string("data width ") +
                           std::to_string(dataWidth) + " with address width " +
                           std::to_string(addressWidth);
    return "The JTAG register of the settings (address width " +
           std::to_string(chain.AddressWidth) + ", data width " + std::to_string(chain.DataWidth) +
           ") cannot hold the " + std::to_string(core.WordBits) + "-bit words and " +
           std::to_string(codeSize) + " addresses of " + std::string(core.ModeCaption) +
           "; widths that fit: " + fitting + "; SVF file not written";
}

std::string BuildSvfText(const TSvfChain& chain, const TCodeWords& words) {
    std::string text;
    std::string version = kProductVersion;
    AddLine(text, std::string("// Generated by ") + kApplicationTitle +
                      (version.empty() ? "" : " [version " + version + "]"));
    AddLine(text, std::string("// ") + kHomePage);
    for (const auto& comment : chain.Comments)
        AddLine(text, comment);
    for (const char* line :
         {"TRST OFF;", "ENDIR IDLE ;", "ENDDR IDLE ;", "STATE RESET IDLE ;", "TIR 0 ;", "HIR 0 ;",
          "TDR 0 ;", "HDR 0 ;", "// Validating chain", "TIR 0 ;", "HIR 0 ;", "TDR 0 ;", "HDR 0 ;"})
        AddLine(text, line);
    const int target = chain.TargetBits;
    AddLine(text, AllOnes("SIR", chain.BeforeBits + target + chain.AfterBits));
    AddLine(text, AllOnes("HIR", chain.BeforeBits));
    AddLine(text, AllOnes("HDR", chain.BeforeDevices));
    AddLine(text, AllOnes("TIR", chain.AfterBits));
    AddLine(text, AllOnes("TDR", chain.AfterDevices));
    AddLine(text, "// Loading the target with IDCODE instruction");
    AddLine(text, "SIR " + std::to_string(target) + " TDI (" + HexBits(target, chain.IDCODE) +
                      ") SMASK (" + OnesBits(target) + ") ; ");
    AddLine(text, "SDR 32 TDI (" + HexBits(32, 0) + ") SMASK (" + OnesBits(32) + ") TDO (" +
                      HexBits(32, chain.ID) + ") MASK (" + OnesBits(32) + ") ;");
    AddLine(text, "// Loading the target with USER1 instruction");
    AddLine(text,
            "SIR " + std::to_string(target) + " TDI (" + HexBits(target, chain.USER1) + ") ;");
    const int recordBits = chain.AddressWidth + chain.DataWidth;
    const std::string recordStart = "SDR " + std::to_string(recordBits) + " TDI (";
    for (int address = 0; address < words.Size(); ++address) {
        text += recordStart;
        text += HexBits(recordBits,
                        SvfDataRecord(words[address], static_cast<std::uint32_t>(address),
                                      chain.AddressWidth, chain.DataWidth, chain.AddressFirst));
        text += ") ;\r\n";
    }
    AddLine(text, "STATE RESET ;");
    AddLine(text, "STATE IDLE ;");
    return text;
}
} // namespace

bool WriteSvfFile(const TCodeWords& words, const std::string& fileName,
                  const ISettingsStore& settings, ILog& log) {
    TSvfChain chain;
    try {
        chain = ReadChain(settings);
    } catch (const std::exception& failure) {
        log.Failure(failure.what() + std::string("; SVF info not set, SVF generation aborted"));
        return false;
    }
    if (std::string misfit = RecordMisfit(chain, words); !misfit.empty()) {
        log.Failure(misfit);
        return true;
    }
    std::string text = BuildSvfText(chain, words);
    log.Message("Assembler saving to SVF Target: \"" + fileName + "\"");
    SaveOutputText(fileName, text, log);
    return true;
}

} // namespace korvo
