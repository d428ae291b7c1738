#include "cosim/kcpsm6_pins.h"

namespace korvo::cosim {

namespace {

// The five top bits of the opcode decide the strobes and the register
// addressing.
constexpr std::uint32_t OpcodePair(std::uint32_t word) {
    return word >> 13;
}
constexpr bool RaisesReadStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x08 >> 1; // INPUT
}
constexpr bool RaisesWriteStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x2C >> 1; // OUTPUT
}
constexpr bool RaisesKWriteStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x2A >> 1; // OUTPUTK
}
// STAR writes sX of the other bank.
constexpr bool AddressesOtherBank(std::uint32_t word) {
    return OpcodePair(word) == 0x16 >> 1;
}

} // namespace

void TKcpsm6Pins::Clock(const TPinInputs& in) {
    TakePins(in);
    // Everything the flip-flops take is worked out from the values before
    // the edge.
    const std::uint32_t word = Word();
    const bool t1 = t1_;
    const bool t2 = t2_;
    const bool internalReset = internalReset_;
    const bool run = run_;
    const bool active = activeInterrupt_;
    const bool interruptEnable = sim_->InterruptEnable();
    const int bank = sim_->ActiveBank();
    const int addressBefore = address_;
    // The stack pointer's carry resets the core at the next second state.
    const bool fault = t2 && StackFault();
    const bool decodeEdge = t1 && !t2;

    WriteRegisters(in.InPort);
    writeStrobe_ = decodeEdge && !active && RaisesWriteStrobe(word);
    kWriteStrobe_ = decodeEdge && !active && RaisesKWriteStrobe(word);
    readStrobe_ = decodeEdge && !active && RaisesReadStrobe(word);
    // A decode edge in the internal reset still starts its register and
    // scratch-pad writes; the reset takes everything else back.
    if (decodeEdge) Decode(word, RaisesReadStrobe(word), active, internalReset);
    if (internalReset) ResetCore();

    sxBank_ = AddressesOtherBank(word) ? bank ^ (t2 ? 0 : 1) : bank;
    run_ = !in.Reset && (run || internalReset) && !fault;
    internalReset_ = in.Reset || !run || fault;
    t1_ = !internalReset && t2;
    t2_ = !internalReset && !t2 && !syncSleep_;
    syncSleep_ = in.Sleep;
    interruptAck_ = active;
    activeInterrupt_ = interruptEnable && t2 && syncInterrupt_;
    syncInterrupt_ = in.Interrupt;
    if (t2) ReadRom(addressBefore);
}

TPinOutputs TKcpsm6Pins::Outputs() const {
    const std::uint32_t word = Word();
    const int y = static_cast<int>(word >> 4 & 0xF);
    const int x = static_cast<int>(word >> 8 & 0xF);
    TPinOutputs out;
    out.Address = address_;
    out.BramEnable = t2_;
    out.PortId = (word & 0x1000) != 0 ? static_cast<std::uint8_t>(word & 0xFF)
                                      : VisibleRegister(sim_->ActiveBank(), y);
    out.OutPort = (word & 0x2000) != 0 ? static_cast<std::uint8_t>(word >> 4 & 0xFF)
                                       : VisibleRegister(sxBank_, x);
    out.WriteStrobe = writeStrobe_;
    out.KWriteStrobe = kWriteStrobe_;
    out.ReadStrobe = readStrobe_;
    out.InterruptAck = interruptAck_;
    return out;
}

} // namespace korvo::cosim
