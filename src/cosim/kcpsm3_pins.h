#pragma once

#include "cosim/core_pins.h"

namespace korvo::cosim {

// The PicoBlaze 3 core at its pins: a state that toggles on every edge (the
// address moves when it is low), a reset held one clock longer than the
// pin, the interrupt capture, pulse and acknowledge, and the strobes. Its
// program ROM reads on every edge.
class TKcpsm3Pins final : public TCorePins {
public:
    explicit TKcpsm3Pins(const TCoreOptions& options) : TCorePins(TCoreKind::pbt3, options) {}

    void Clock(const TPinInputs& in) override;
    TPinOutputs Outputs() const override;

private:
    bool tState_ = false;
    // Both reset flip-flops start set.
    bool resetDelay_ = true;
    bool internalReset_ = true;
    bool cleanInterrupt_ = false;
    bool activeInterrupt_ = false;
    bool interruptAck_ = false;
    bool writeStrobe_ = false;
    bool readStrobe_ = false;
};

} // namespace korvo::cosim
