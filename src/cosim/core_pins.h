#pragma once

#include "common/core_options.h"
#include "simulator/instruction_trace.h"
#include "simulator/simulator.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvo::cosim {

// The input pins of a core as they are sampled on a rising clock edge.
struct TPinInputs {
    std::uint32_t Instruction = 0; // 18 bits
    std::uint8_t InPort = 0;
    bool Interrupt = false;
    bool Sleep = false;
    bool Reset = false;
};

// The output pins of a core between two edges.
struct TPinOutputs {
    int Address = 0;
    std::uint8_t PortId = 0;
    std::uint8_t OutPort = 0;
    bool BramEnable = false;
    bool WriteStrobe = false;
    bool KWriteStrobe = false;
    bool ReadStrobe = false;
    bool InterruptAck = false;
};

// A PicoBlaze core at its pins, clock edge by clock edge, with the simulator
// doing the instructions. Each core keeps its own control flip-flops (which
// edge does what); what they share is here: an instruction takes effect in
// the simulator on its decode edge (the one that moves the address), except
// INPUT, which reads in_port on the following edge where the core writes its
// register; the pins show the registers as the core's register file holds
// them, which is written on that following edge.
class TCorePins {
public:
    // options.ScratchPadSize is the core's, also for a core without build
    // options.
    TCorePins(TCoreKind kind, const TCoreOptions& options);
    virtual ~TCorePins() = default;
    TCorePins(const TCorePins&) = delete;
    TCorePins& operator=(const TCorePins&) = delete;

    TPicoBlazeSimulator& Simulator() { return *sim_; }
    const TPicoBlazeSimulator& Simulator() const { return *sim_; }

    // From now on the words come from this program (as from a ROM on the
    // address pins) and the instruction pins are ignored.
    void LoadProgram(const std::vector<std::uint32_t>& words);

    // One rising edge of clk.
    virtual void Clock(const TPinInputs& in) = 0;
    virtual TPinOutputs Outputs() const = 0;
    // The instruction pins between two edges.
    void SetInstructionPins(std::uint32_t word);

    // Writes the trace of korvo sim --trace to the file from now on; false
    // when it cannot be opened.
    bool StartTrace(const std::string& path);

    // The register file as the pins see it.
    std::uint8_t Register(int bank, int index) const;
    int ProgramCounter() const { return address_; }
    std::int64_t Instructions() const { return instructions_; }

protected:
    // The word the core decodes now: the instruction pins, or the output of
    // the loaded program's ROM.
    std::uint32_t Word() const { return program_ ? romWord_ : pins_; }
    void TakePins(const TPinInputs& in);
    // The loaded program's ROM reads the address it had before the edge.
    void ReadRom(int address);
    // The decode edge of a word: the simulator runs it, or, for an INPUT
    // (isInput), only the address moves on and the register write edge
    // completes it. active: the interrupt abandons the word instead.
    // inReset: the core resets on this edge, so only the word's writes of
    // registers and scratch pad count.
    void Decode(std::uint32_t word, bool isInput, bool active, bool inReset);
    // The edge after a decode edge: the INPUT reads in_port, and the pins
    // see the registers written.
    void WriteRegisters(std::uint8_t inPort);
    // The core's reset: the program counter, flags, interrupt enable, bank
    // and stack; the register file keeps its values.
    void ResetCore();
    // The stack overflowed or underflowed since the last reset.
    bool StackFault() const { return stackFault_; }
    std::uint8_t VisibleRegister(int bank, int index) const {
        return registers_[static_cast<std::size_t>(bank * 16 + index)];
    }

    std::unique_ptr<TPicoBlazeSimulator> sim_;
    std::unique_ptr<TPicoBlazeSimulator> callProbe_;
    const int addressMask_;
    int address_ = 0;

private:
    // Runs the word at the program counter in the simulator (inPort for an
    // INPUT); false when the stack faults.
    bool Execute(std::uint32_t word, std::uint8_t inPort);
    // Every decode edge writes the program counter into the stack RAM at the
    // stack pointer (a push keeps it).
    void WriteStackRam();
    void EnterInterrupt(std::uint32_t abandoned);
    // Where a call that overflows the stack goes: the simulator refuses it,
    // the core jumps and then resets. A second simulator with the same
    // registers and flags runs the word.
    int OverflowingCallTarget(std::uint32_t word);
    void CopyRegisters();

    std::optional<std::vector<std::uint32_t>> program_;
    std::uint32_t pins_ = 0;
    std::uint32_t romWord_ = 0;
    std::uint8_t inPort_ = 0;
    bool writePending_ = false;
    std::optional<std::uint32_t> inputPending_;
    // The pending INPUT was decoded in a reset: it leaves the program counter
    // at 0.
    bool inputInReset_ = false;
    bool stackFault_ = false;
    // The stack RAM and its pointer as the core has them, for what a return
    // on an empty stack pops.
    std::array<int, 32> stackRam_{};
    int stackPointer_ = 0;
    std::array<std::uint8_t, 32> registers_{};
    // The scratch pad is kept here: the core ignores the address bits above
    // its size, where the simulator would refuse the access.
    static constexpr int kScratchPadBytes = 256;
    std::array<std::uint8_t, kScratchPadBytes> scratchPad_{};
    const int scratchPadMask_;
    std::int64_t instructions_ = 0;
    std::unique_ptr<std::ofstream> traceFile_;
    std::unique_ptr<TInstructionTrace> trace_;
};

} // namespace korvo::cosim
