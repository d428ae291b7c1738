#pragma once

#include "dap/debug_expression.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace korvo {
class TPicoBlazeSimulator;
class TSimulationSession;
} // namespace korvo

namespace korvo::servers {

// What the debugger shows of a paused program, in the debug protocol's
// terms: the call stack, the scopes and their variables (registers of each
// bank, flags, scratch pad, ports), the disassembly and the scratch pad's
// bytes.
class TProgramView {
public:
    // lineBase: the number of the first line for the client (0 or 1).
    TProgramView(TPicoBlazeSimulator& simulator, TSimulationSession& session,
                 const TDebugNames& names, const QString& sourcePath, int lineBase);

    // The current instruction first, then each call on the return stack.
    QJsonArray StackFrames() const;
    QJsonArray Scopes() const;
    // Nothing for a reference no scope or variable has.
    std::optional<QJsonArray> Variables(int reference) const;
    // Sets a register, a flag or a scratch pad byte to the value of an
    // expression; the value it shows now. Throws EDebugExpression.
    QString SetVariable(int reference, const QString& name, const QString& value);
    // count instructions from the code address first on; addresses outside
    // the code show as invalid.
    QJsonArray Disassembly(std::int64_t first, int count) const;
    // The body of a readMemory response for the scratch pad.
    QJsonObject ScratchPadBytes(std::int64_t offset, std::int64_t count) const;

    // "$0A (10)".
    static QString ValueText(std::int32_t value);
    // The source object of the protocol for the program's file.
    QJsonObject Source() const;

    // The variable references of the scopes.
    static constexpr int kRegisters = 1;
    static constexpr int kFlags = 2;
    static constexpr int kScratchPad = 3;
    static constexpr int kPorts = 4;
    static constexpr int kBankA = 10;   // kBankA + bank
    static constexpr int kDevice = 100; // kDevice + index of the device

private:
    QJsonObject Frame(int id, std::int32_t address, const QString& name) const;
    QJsonArray BankRegisters(int bank) const;
    QJsonArray Flags() const;
    QJsonArray ScratchPad() const;
    QJsonArray Ports() const;
    std::optional<QJsonArray> DeviceState(int index) const;

    TPicoBlazeSimulator& simulator_;
    TSimulationSession& session_;
    const TDebugNames& names_;
    QString sourcePath_;
    int lineBase_;
};

} // namespace korvo::servers
