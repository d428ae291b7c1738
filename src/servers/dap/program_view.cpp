#include "dap/program_view.h"

#include "common/hex_text.h"
#include "simulator/decode.h"
#include "simulator/disassembler.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"

#include <QByteArray>
#include <QFileInfo>

#include <algorithm>

namespace korvo::servers {

namespace {

QString Hex(std::int64_t value, int digits) {
    return QString::fromStdString("$" + HexText(value, digits));
}

QJsonObject Variable(const QString& name, const QString& value, int reference = 0,
                     const QString& evaluateName = {}) {
    QJsonObject variable{{"name", name}, {"value", value}, {"variablesReference", reference}};
    if (!evaluateName.isEmpty()) variable["evaluateName"] = evaluateName;
    return variable;
}

QString RegisterText(const TPicoBlazeSimulator& simulator, int n) {
    return QString::fromStdString("s" +
                                  HexText(n, CoreDescription(simulator.CoreKind()).RegisterDigits));
}

bool FlagValue(const QString& value) {
    if (value == "1" || value.compare("true", Qt::CaseInsensitive) == 0) return true;
    if (value == "0" || value.compare("false", Qt::CaseInsensitive) == 0) return false;
    throw EDebugExpression("a flag takes 0 or 1, not '" + value.toStdString() + "'");
}

// "$3F" or "3F" as a scratch pad offset; -1 when it is not one.
int OffsetNamed(const QString& name) {
    bool ok = false;
    int offset = (name.startsWith('$') ? name.mid(1) : name).toInt(&ok, 16);
    return ok && offset >= 0 && offset < 256 ? offset : -1;
}

} // namespace

TProgramView::TProgramView(TPicoBlazeSimulator& simulator, TSimulationSession& session,
                           const TDebugNames& names, const QString& sourcePath, int lineBase)
    : simulator_(simulator), session_(session), names_(names), sourcePath_(sourcePath),
      lineBase_(lineBase) {}

QString TProgramView::ValueText(std::int32_t value) {
    int digits = value >= 0 && value <= 0xFF ? 2 : value >= 0 && value <= 0xFFFF ? 4 : 8;
    return Hex(static_cast<std::uint32_t>(value), digits) + " (" + QString::number(value) + ")";
}

QJsonObject TProgramView::Source() const {
    QFileInfo file(sourcePath_);
    return {{"name", file.fileName()}, {"path", file.absoluteFilePath()}};
}

QJsonObject TProgramView::Frame(int id, std::int32_t address, const QString& name) const {
    const int digits = CoreDescription(simulator_.CoreKind()).AddressDigits();
    QJsonObject frame{
        {"id", id},
        {"name", name},
        {"line", 0},
        {"column", 0},
        {"instructionPointerReference", QString::fromStdString("0x" + HexText(address, digits))}};
    int line = simulator_.AddressToLine(address);
    if (line > 0) {
        frame["source"] = Source();
        frame["line"] = line - 1 + lineBase_;
        frame["column"] = lineBase_;
    }
    return frame;
}

QJsonArray TProgramView::StackFrames() const {
    const bool keepsCallSite = CoreDecoding(simulator_.CoreKind()).Behaviour.StackKeepsCallSite;
    const int digits = CoreDescription(simulator_.CoreKind()).AddressDigits();
    auto routine = [&](std::int32_t address) {
        std::string label = names_.LabelBefore(address);
        return QString::fromStdString(label.empty() ? "$" + HexText(address, digits) : label);
    };
    QJsonArray frames;
    frames.append(Frame(0, simulator_.PC(), routine(simulator_.PC())));
    for (int level = simulator_.SP() - 1, id = 1; level >= 0; --level, ++id) {
        std::int32_t entry = simulator_.StackEntry(level);
        std::int32_t callSite = keepsCallSite ? entry : entry - 1;
        frames.append(Frame(id, callSite, routine(callSite)));
    }
    return frames;
}

QJsonArray TProgramView::Scopes() const {
    auto scope = [](const QString& name, int reference, const char* hint = nullptr) {
        QJsonObject object{{"name", name}, {"variablesReference", reference}, {"expensive", false}};
        if (hint) object["presentationHint"] = hint;
        return object;
    };
    QJsonArray scopes{scope("Registers", kRegisters, "registers"), scope("Flags", kFlags)};
    if (session_.IO().ScratchPad().Size() > 0) scopes.append(scope("Scratch pad", kScratchPad));
    scopes.append(scope("Ports", kPorts));
    return scopes;
}

QJsonArray TProgramView::BankRegisters(int bank) const {
    QJsonArray registers;
    for (int n = 0; n < simulator_.RegisterCount(); ++n) {
        QString name = RegisterText(simulator_, n);
        std::string alias = names_.RegisterAlias(n);
        registers.append(
            Variable(alias.empty() ? name : name + " (" + QString::fromStdString(alias) + ")",
                     Hex(simulator_.BankRegister(bank, n), 2), 0,
                     bank == simulator_.ActiveBank() ? name : QString()));
    }
    return registers;
}

QJsonArray TProgramView::Flags() const {
    auto bit = [](bool on) { return QString(on ? "1" : "0"); };
    QJsonArray flags{Variable("Z", bit(simulator_.ZeroFlag())),
                     Variable("C", bit(simulator_.CarryFlag())),
                     Variable("IE", bit(simulator_.InterruptEnable()))};
    if (simulator_.RegisterBanks() > 1)
        flags.append(Variable("Bank", simulator_.ActiveBank() ? "B" : "A"));
    return flags;
}

QJsonArray TProgramView::ScratchPad() const {
    QJsonArray bytes;
    auto& pad = session_.IO().ScratchPad();
    for (int offset = 0; offset < pad.Size(); ++offset)
        bytes.append(Variable(Hex(offset, 2), Hex(pad.Read(offset), 2)));
    return bytes;
}

QJsonArray TProgramView::Ports() const {
    QJsonArray ports;
    const auto& devices = session_.IO().Devices();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        TDeviceDescription description = devices[i]->Describe();
        QString name = QString::fromStdString(description.Name);
        for (std::size_t p = 0; p < description.Ports.size(); ++p)
            name += (p ? "," : " ") + Hex(description.Ports[p], 2);
        QStringList state;
        for (const auto& [key, value] : description.State)
            state.append(QString::fromStdString(key) + "=" + Hex(value, 2));
        ports.append(Variable(name, state.join(' '),
                              description.State.empty() ? 0 : kDevice + static_cast<int>(i)));
    }
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator_.GetPortItem(port);
        if (item.Kind == TMemKind::RAM || item.Kind == TMemKind::ROM)
            ports.append(
                Variable(QString(item.Kind == TMemKind::RAM ? "RAM " : "ROM ") + Hex(port, 2),
                         Hex(item.Value, 2)));
    }
    return ports;
}

std::optional<QJsonArray> TProgramView::DeviceState(int index) const {
    const auto& devices = session_.IO().Devices();
    if (index < 0 || static_cast<std::size_t>(index) >= devices.size()) return std::nullopt;
    QJsonArray state;
    for (const auto& [key, value] : devices[static_cast<std::size_t>(index)]->Describe().State)
        state.append(
            Variable(QString::fromStdString(key), ValueText(static_cast<std::int32_t>(value))));
    return state;
}

std::optional<QJsonArray> TProgramView::Variables(int reference) const {
    const int banks = simulator_.RegisterBanks();
    switch (reference) {
    case kRegisters:
        if (banks == 1) return BankRegisters(0);
        return QJsonArray{Variable("Bank A", "", kBankA), Variable("Bank B", "", kBankA + 1)};
    case kFlags: return Flags();
    case kScratchPad: return ScratchPad();
    case kPorts: return Ports();
    default: break;
    }
    if (reference >= kBankA && reference < kBankA + banks) return BankRegisters(reference - kBankA);
    if (reference >= kDevice) return DeviceState(reference - kDevice);
    return std::nullopt;
}

QString TProgramView::SetVariable(int reference, const QString& name, const QString& value) {
    const int banks = simulator_.RegisterBanks();
    if (reference == kFlags) {
        if (name == "Bank" && banks > 1) {
            QString bank = value.trimmed().toUpper();
            if (bank != "A" && bank != "B")
                throw EDebugExpression("the bank is A or B, not '" + value.toStdString() + "'");
            simulator_.SelectBank(bank == "B" ? 1 : 0);
            return bank;
        }
        bool on = FlagValue(value.trimmed());
        if (name == "Z")
            simulator_.SetZeroFlag(on);
        else if (name == "C")
            simulator_.SetCarryFlag(on);
        else if (name == "IE")
            simulator_.SetInterruptEnable(on);
        else
            throw EDebugExpression("no flag '" + name.toStdString() + "'");
        return on ? "1" : "0";
    }
    std::int32_t number = names_.Evaluate(value.toStdString(), simulator_);
    if (number < -128 || number > 255)
        throw EDebugExpression(value.toStdString() + " does not fit in a byte");
    number &= 0xFF;
    if (reference == kScratchPad) {
        int offset = OffsetNamed(name);
        if (offset < 0 || offset >= session_.IO().ScratchPad().Size())
            throw EDebugExpression("no scratch pad byte '" + name.toStdString() + "'");
        session_.IO().ScratchPad().Write(offset, number);
        return Hex(number, 2);
    }
    int bank = reference == kRegisters && banks == 1               ? 0
               : reference >= kBankA && reference < kBankA + banks ? reference - kBankA
                                                                   : -1;
    int n = names_.RegisterNamed(name.section(' ', 0, 0).toStdString());
    if (bank < 0 || n < 0 || n >= simulator_.RegisterCount())
        throw EDebugExpression("no register '" + name.toStdString() + "' here");
    simulator_.SetBankRegister(bank, n, number);
    return Hex(number, 2);
}

QJsonArray TProgramView::Disassembly(std::int64_t first, int count) const {
    const TCoreKind kind = simulator_.CoreKind();
    const int digits = CoreDescription(kind).AddressDigits();
    QJsonArray instructions;
    for (std::int64_t address = first; address < first + count; ++address) {
        QJsonObject instruction{
            {"address", QString::fromStdString("0x" + HexText(address < 0 ? 0 : address, digits))}};
        if (address < 0 || address >= simulator_.CodeSize()) {
            instruction["instruction"] = "";
            instruction["presentationHint"] = "invalid";
            instructions.append(instruction);
            continue;
        }
        TCodeEntry entry;
        simulator_.GetCodeEntry(static_cast<int>(address), entry);
        instruction["instructionBytes"] = QString::fromStdString(HexText(entry.Word, 5));
        instruction["instruction"] =
            entry.HasCode ? QString::fromStdString(Disassemble(kind, entry.Word)) : QString();
        std::string label = names_.LabelBefore(static_cast<int>(address));
        for (const auto& symbol : names_.Symbols())
            if (symbol.Kind == skLabel && symbol.Value == address && symbol.Name == label)
                instruction["symbol"] = QString::fromStdString(label);
        if (entry.HasCode && entry.Line > 0) {
            instruction["location"] = Source();
            instruction["line"] = entry.Line - 1 + lineBase_;
        }
        instructions.append(instruction);
    }
    return instructions;
}

QJsonObject TProgramView::ScratchPadBytes(std::int64_t offset, std::int64_t count) const {
    const auto& pad = session_.IO().ScratchPad();
    count = std::clamp<std::int64_t>(count, 0, 4096);
    QByteArray bytes;
    std::int64_t end = offset + count;
    std::int64_t first = std::max<std::int64_t>(offset, 0);
    std::int64_t readable =
        std::max<std::int64_t>(0, std::min<std::int64_t>(end, pad.Size()) - first);
    for (std::int64_t i = 0; i < readable; ++i)
        bytes.append(static_cast<char>(pad.Read(static_cast<int>(first + i))));
    QJsonObject body{{"address", QString::number(first)},
                     {"data", QString::fromLatin1(bytes.toBase64())}};
    if (readable < count) body["unreadableBytes"] = static_cast<qint64>(count - readable);
    return body;
}

} // namespace korvo::servers
