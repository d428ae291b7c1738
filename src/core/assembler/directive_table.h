#pragma once

#include <array>
#include <string>
#include <string_view>

namespace korvo {

struct TLineContext;

// The handlers start on the first non-space token after the directive word;
// name is the identifier written before it, empty when none.

// Pass 1: only what the symbol table and the include list need.
using TDirectivePass1 = void (*)(TLineContext& context, std::string_view name);
// Pass 2: everything; returns the line's result text. The caller checks that
// nothing but a comment follows.
using TDirectivePass2 = std::string (*)(TLineContext& context, std::string_view name);

struct TDirective {
    std::string_view Keyword;
    TDirectivePass1 Pass1; // null: nothing to do in pass 1
    TDirectivePass2 Pass2; // null: the operands are ignored altogether
};

void EquatePass1(TLineContext& context, std::string_view name);
std::string EquatePass2(TLineContext& context, std::string_view name);
void OrgPass1(TLineContext& context, std::string_view name);
std::string OrgPass2(TLineContext& context, std::string_view name);
std::string DefaultJumpPass2(TLineContext& context, std::string_view name);
void IncludePass1(TLineContext& context, std::string_view name);
std::string IncludePass2(TLineContext& context, std::string_view name);

// Port declarations: pass 1 enters the device name, pass 2 maps the ports.
void DeviceNamePass1(TLineContext& context, std::string_view name);
std::string RomBlockPass2(TLineContext& context, std::string_view name);
std::string RamBlockPass2(TLineContext& context, std::string_view name);
std::string InputPortPass2(TLineContext& context, std::string_view name);
std::string OutputPortPass2(TLineContext& context, std::string_view name);
std::string BidirectionalPortPass2(TLineContext& context, std::string_view name);
std::string HiddenPortPass2(TLineContext& context, std::string_view name);
std::string BlockRamPass2(TLineContext& context, std::string_view name);
std::string UartPass2(TLineContext& context, std::string_view name);

// Output files and commands: pass 2 only.
std::string VhdlPass2(TLineContext& context, std::string_view name);
std::string CoePass2(TLineContext& context, std::string_view name);
std::string SvfPass2(TLineContext& context, std::string_view name);
std::string HexPass2(TLineContext& context, std::string_view name);
std::string MemPass2(TLineContext& context, std::string_view name);
std::string ExecPass2(TLineContext& context, std::string_view name);

// Every directive the assembler knows; the scanner's keywords and the
// reserved words come from here too. DEFJUMP is newer than the others.
inline constexpr std::array<TDirective, 21> kDirectives{{
    {"EQU", EquatePass1, EquatePass2},
    {"ORG", OrgPass1, OrgPass2},
    {"DSROM", DeviceNamePass1, RomBlockPass2},
    {"DSRAM", DeviceNamePass1, RamBlockPass2},
    {"DSIN", DeviceNamePass1, InputPortPass2},
    {"DSOUT", DeviceNamePass1, OutputPortPass2},
    {"DSIO", DeviceNamePass1, BidirectionalPortPass2},
    {"DS", DeviceNamePass1, HiddenPortPass2},
    {"BROM", DeviceNamePass1, BlockRamPass2},
    {"UART", DeviceNamePass1, UartPass2},
    {"VHDL", nullptr, VhdlPass2},
    {"COE", nullptr, CoePass2},
    {"INC", nullptr, nullptr},
    {"SVF", nullptr, SvfPass2},
    {"HEX", nullptr, HexPass2},
    {"MEM", nullptr, MemPass2},
    {"EXEC", nullptr, ExecPass2},
    {"INCL", IncludePass1, IncludePass2},
    {"MACRO", nullptr, nullptr},
    {"END", nullptr, nullptr},
    // Its address may be a label further down: pass 2 reads it.
    {"DEFJUMP", nullptr, DefaultJumpPass2},
}};

} // namespace korvo
