#pragma once

#include "simulator/instruction_trace.h"
#include "simulator/simulator.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
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

// The PicoBlaze 6 core at its pins, clock edge by clock edge, with the
// simulator doing the instructions. The core's control flip-flops are kept
// here: the two states of each instruction (bram_enable is the second),
// reset and run, sleep, the interrupt synchroniser and acknowledge, the
// strobes and the bank of sX. An instruction takes effect in the simulator
// on its decode edge (the one that moves the address), except INPUT, which
// reads in_port on the following edge where the core writes its register;
// the pins show the registers as the core's register file holds them, which
// is written on that following edge.
class TKcpsm6Pins {
public:
    explicit TKcpsm6Pins(const TCoreOptions& options);

    TPicoBlazeSimulator& Simulator() { return *sim_; }
    const TPicoBlazeSimulator& Simulator() const { return *sim_; }

    // From now on the words come from this program (as from a ROM on the
    // address pins) and the instruction pins are ignored.
    void LoadProgram(const std::vector<std::uint32_t>& words);
    bool HasProgram() const { return program_.has_value(); }

    // One rising edge of clk.
    void Clock(const TPinInputs& in);
    // The instruction pins between two edges.
    void SetInstructionPins(std::uint32_t word);
    TPinOutputs Outputs() const;

    // Writes the trace of korvo sim --trace to the file from now on; false
    // when it cannot be opened.
    bool StartTrace(const std::string& path);

    // The register file as the pins see it.
    std::uint8_t Register(int bank, int index) const;
    int ProgramCounter() const { return address_; }
    std::int64_t Instructions() const { return instructions_; }

private:
    // The word the core decodes now.
    std::uint32_t Word() const;
    // Runs the word at the program counter in the simulator (inPort for an
    // INPUT); false when the core faults (its stack).
    bool Execute(std::uint32_t word, std::uint8_t inPort);
    void EnterInterrupt(std::uint32_t abandoned);
    void Decode(std::uint32_t word);
    void ResetCore();
    void CopyRegisters();

    std::unique_ptr<TPicoBlazeSimulator> sim_;
    std::optional<std::vector<std::uint32_t>> program_;
    std::uint32_t pins_ = 0;    // the instruction pins
    std::uint32_t romWord_ = 0; // the output of the loaded program's ROM
    std::uint8_t inPort_ = 0;   // what an INPUT reads

    // The core's flip-flops.
    bool t1_ = false;
    bool t2_ = false;
    bool run_ = false;
    bool internalReset_ = false;
    bool syncSleep_ = false;
    bool syncInterrupt_ = false;
    bool activeInterrupt_ = false;
    bool interruptAck_ = false;
    bool writeStrobe_ = false;
    bool kWriteStrobe_ = false;
    bool readStrobe_ = false;
    int sxBank_ = 0;
    int address_ = 0;
    // The register write that follows a decode edge, and the INPUT that
    // completes on it.
    bool writePending_ = false;
    std::optional<std::uint32_t> inputPending_;
    // A stack overflow or underflow: the core resets itself.
    bool stackFault_ = false;

    std::array<std::uint8_t, 32> registers_{};
    static constexpr int kScratchPadBytes = 256;
    std::array<std::uint8_t, kScratchPadBytes> scratchPad_{};
    int scratchPadMask_;
    std::int64_t instructions_ = 0;
    std::unique_ptr<std::ofstream> traceFile_;
    std::unique_ptr<TInstructionTrace> trace_;
};

} // namespace korvo::cosim
