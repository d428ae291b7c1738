#include "cosim/kcpsm3_pins.h"

namespace korvo::cosim {

namespace {

constexpr bool Bit(std::uint32_t word, int n) {
    return (word >> n & 1) != 0;
}
// INPUT and OUTPUT share these bits; bits 15 and 17 tell them apart.
constexpr bool IsPortAccess(std::uint32_t word) {
    return !Bit(word, 13) && Bit(word, 14) && !Bit(word, 16);
}
constexpr bool IsInput(std::uint32_t word) {
    return IsPortAccess(word) && !Bit(word, 15) && !Bit(word, 17);
}
constexpr bool IsOutput(std::uint32_t word) {
    return IsPortAccess(word) && Bit(word, 15) && Bit(word, 17);
}

} // namespace

void TKcpsm3Pins::Clock(const TPinInputs& in) {
    TakePins(in);
    const std::uint32_t word = Word();
    const bool t = tState_;
    const bool internalReset = internalReset_;
    const bool active = activeInterrupt_;
    const bool interruptEnable = sim_->InterruptEnable();
    const int addressBefore = address_;
    const bool decodeEdge = !t && !internalReset;

    WriteRegisters(in.InPort);
    writeStrobe_ = decodeEdge && !active && IsOutput(word);
    readStrobe_ = decodeEdge && !active && IsInput(word);
    if (internalReset)
        ResetCore();
    else if (decodeEdge)
        Decode(word, IsInput(word), active, false);

    tState_ = !internalReset && !t;
    internalReset_ = in.Reset || resetDelay_;
    resetDelay_ = in.Reset;
    interruptAck_ = active;
    activeInterrupt_ = !internalReset && t && cleanInterrupt_ && interruptEnable && !active;
    cleanInterrupt_ = !internalReset && in.Interrupt;
    ReadRom(addressBefore);
}

TPinOutputs TKcpsm3Pins::Outputs() const {
    const std::uint32_t word = Word();
    const int y = static_cast<int>(word >> 4 & 0xF);
    const int x = static_cast<int>(word >> 8 & 0xF);
    TPinOutputs out;
    out.Address = address_;
    out.PortId = Bit(word, 12) ? VisibleRegister(0, y) : static_cast<std::uint8_t>(word & 0xFF);
    out.OutPort = VisibleRegister(0, x);
    out.WriteStrobe = writeStrobe_;
    out.ReadStrobe = readStrobe_;
    out.InterruptAck = interruptAck_;
    return out;
}

} // namespace korvo::cosim
