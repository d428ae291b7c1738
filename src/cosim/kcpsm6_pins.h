#pragma once

#include "cosim/core_pins.h"

namespace korvo::cosim {

// The PicoBlaze 6 core at its pins: two states per instruction (bram_enable
// is the second), reset and run, sleep, the interrupt synchroniser and
// acknowledge, the strobes and the bank of sX.
class TKcpsm6Pins final : public TCorePins {
public:
    explicit TKcpsm6Pins(const TCoreOptions& options) : TCorePins(TCoreKind::pbt6, options) {}

    void Clock(const TPinInputs& in) override;
    TPinOutputs Outputs() const override;

private:
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
};

} // namespace korvo::cosim
