#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/operands.h"
#include "assembler/value_readers.h"

#include <memory>

namespace korvo {

namespace {

constexpr const char* kAlreadyMapped = "IO Map|IO port already mapped by an other device";
constexpr const char* kMapAlreadyMapped = "Map|IO port already mapped by an other device";
constexpr const char* kIllegalAddress = "Address|Illegal address specification";
constexpr const char* kBadAddress = "Address|Bad address specification";
constexpr const char* kOutsideMap = "IO Map|IO port outside IO map";
constexpr int kCellsPerBlock = 16;

// The port operand of a declaration: not a register or condition, and in
// 0..highest.
int ReadPort(TLineContext& context, const char* kindMessage, int highest,
             const char* rangeMessage) {
    TOperand port = Evaluate(context);
    if (port.Kind == skRegister || port.Kind == skCondition) Fail(kindMessage);
    if (port.Value < 0 || port.Value > highest) Fail(rangeMessage);
    return port.Value;
}

std::string PortText(int port) {
    return "$" + HexText(port, 2);
}

TMemMapItem& Record(TLineContext& context, int port) {
    return context.State.PortMap[static_cast<std::size_t>(port) % kPortCount];
}

void SetNames(TMemMapItem& item, std::string_view name) {
    item.InName = std::string(name);
    item.OutName = std::string(name);
}

// DSROM and DSRAM: 16 cells from a multiple of 16.
std::string MemoryBlock(TLineContext& context, std::string_view name, bool rom) {
    int port = ReadPort(context, kIllegalAddress, 240,
                        rom ? "IO Ma|IO port outside IO mapp" : kOutsideMap);
    if (port % kCellsPerBlock != 0)
        Fail(rom ? "ROM Start|ROM should start at a multiple of 16"
                 : "RAM Start|RAM should start at a multiple of 16");
    bool moreValues = true;
    for (int cell = 0; cell < kCellsPerBlock; ++cell) {
        TMemMapItem& item = Record(context, port + cell);
        if (item.Kind != TMemKind::None) Fail(kAlreadyMapped);
        std::int32_t value = 0;
        if (rom) {
            ExpectComma(context);
            value = Evaluate(context).Value;
        } else if (moreValues && SkipComma(context)) {
            value = Evaluate(context).Value;
        } else {
            moreValues = false;
        }
        item.Kind = rom ? TMemKind::ROM : TMemKind::RAM;
        item.Value = static_cast<std::uint8_t>(value & 0xFF);
        if (cell == 0) SetNames(item, name);
    }
    return PortText(port);
}

enum class TPortDirection { In, Out, Both };

// DSIN, DSOUT and DSIO: a visible port with its files.
std::string VisiblePort(TLineContext& context, TPortDirection direction, std::string_view name) {
    int port = ReadPort(context, kIllegalAddress, 255, kOutsideMap);
    TMemMapItem& item = Record(context, port);
    if (direction == TPortDirection::In) {
        if (item.Kind == TMemKind::None)
            item.Kind = TMemKind::Input;
        else if (item.Kind == TMemKind::Output)
            item.Kind = TMemKind::InOut;
        else
            Fail(kMapAlreadyMapped);
        item.InName = std::string(name);
    } else if (direction == TPortDirection::Out) {
        if (item.Kind == TMemKind::None)
            item.Kind = TMemKind::Output;
        else if (item.Kind == TMemKind::Input)
            item.Kind = TMemKind::InOut;
        else
            Fail(kMapAlreadyMapped);
        item.OutName = std::string(name);
    } else { // DSIO
        if (item.Kind != TMemKind::None) Fail(kMapAlreadyMapped);
        item.Kind = TMemKind::IO;
        SetNames(item, name);
    }
    item.Visible = true;
    if (direction == TPortDirection::In) {
        if (SkipComma(context))
            item.InFile = FileInSourceDirectory(
                context.State,
                ReadString(context, "Syntax|String expected for the associated file"));
    } else if (SkipComma(context)) {
        item.OutFile = FileInSourceDirectory(
            context.State, ReadString(context, "Syntax|String expected for the associated file"));
        if (SkipComma(context))
            item.OutFormat =
                ReadString(context, "Syntax|String expected for the associated format specifier");
    }
    return PortText(port);
}

// DS: a hidden bidirectional port; a mapped port only gets the names.
} // namespace

std::string HiddenPortPass2(TLineContext& context, std::string_view name) {
    int port = ReadPort(context, kIllegalAddress, 255, kOutsideMap);
    TMemMapItem& item = Record(context, port);
    SetNames(item, name);
    if (item.Kind != TMemKind::None) return {};
    item.Kind = TMemKind::IO;
    item.Visible = false;
    return PortText(port);
}

// UART: the status port (even) and the data port after it.
std::string UartPass2(TLineContext& context, std::string_view name) {
    int port = ReadPort(context, kBadAddress, 255, kOutsideMap);
    if (port % 2 != 0) Fail("IO Map|UART needs an even port");
    TMemMapItem& status = Record(context, port);
    TMemMapItem& data = Record(context, port ^ 1);
    if (status.Kind != TMemKind::None || data.Kind != TMemKind::None) Fail(kAlreadyMapped);
    ExpectComma(context);
    TOperand tcpPort = Evaluate(context);
    bool numeric =
        tcpPort.Kind == skNumber || tcpPort.Kind == skDevice || tcpPort.Kind == skExpression;
    if (!numeric || tcpPort.Value < 0 || tcpPort.Value > 65535)
        Fail("Port #|TCP port number is an illegal value.");
    status.Kind = TMemKind::UART;
    status.Visible = false;
    status.TcpPort = tcpPort.Value;
    SetNames(status, name);
    data.Kind = TMemKind::UART;
    data.Visible = false;
    data.TcpPort = -1;
    return PortText(port) + " " + std::to_string(tcpPort.Value);
}

// BROM: a block RAM filled from its initialisation file; one above 255 bytes
// also takes the partner port.
std::string BlockRamPass2(TLineContext& context, std::string_view name) {
    auto bram = std::make_shared<TBRAM>();
    int port = ReadPort(context, kBadAddress, 255, "IO Map");
    if (Record(context, port).Kind != TMemKind::None) Fail(kAlreadyMapped);
    ExpectComma(context);
    TOperand size = Evaluate(context);
    if (size.Kind == skRegister || size.Kind == skCondition)
        Fail("Size|Illegal size indicator for Block RAM");
    bram->SetSize(size.Value);
    bool large = bram->Size() > 255;
    if (large && Record(context, port ^ 1).Kind != TMemKind::None) Fail("IO Map");
    ExpectComma(context);
    std::string file = ReadString(context, "Syntax|String expected for Block RAM init MEM file");
    ExpectEndOfStatement(context);

    bram->SetPort(port);
    bram->SetName(std::string(name));
    if (!file.empty()) {
        bram->SetFileName(FileInSourceDirectory(context.State, file));
        bram->LoadInitFile(context.Log);
    }
    TMemMapItem& item = Record(context, port);
    item.Kind = TMemKind::BlockRAM;
    item.Visible = true;
    item.BlockRAM = bram;
    SetNames(item, name);
    if (large) {
        TMemMapItem& partner = Record(context, port ^ 1);
        partner.Kind = TMemKind::BlockRAM;
        partner.Visible = true;
        partner.BlockRAM.reset();
    }
    context.State.Directives.BlockRAMs.push_back(std::move(bram));
    return PortText(port);
}

std::string RomBlockPass2(TLineContext& context, std::string_view name) {
    return MemoryBlock(context, name, true);
}

std::string RamBlockPass2(TLineContext& context, std::string_view name) {
    return MemoryBlock(context, name, false);
}

std::string InputPortPass2(TLineContext& context, std::string_view name) {
    return VisiblePort(context, TPortDirection::In, name);
}

std::string OutputPortPass2(TLineContext& context, std::string_view name) {
    return VisiblePort(context, TPortDirection::Out, name);
}

std::string BidirectionalPortPass2(TLineContext& context, std::string_view name) {
    return VisiblePort(context, TPortDirection::Both, name);
}

} // namespace korvo
