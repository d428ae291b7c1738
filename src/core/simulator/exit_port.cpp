#include "simulator/exit_port.h"

#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

namespace korvo {

TExitPort::TExitPort(TPicoBlazeSimulator& simulator, int port)
    : simulator_(simulator), port_(port) {}

void TExitPort::Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) {
    if (kind != TAccessKind::PortWrite || address != port_ || value_) return;
    value_ = value;
    simulator_.RequestStop(TStopReason::ExitPort);
}

void TExitPort::SaveState(TStateWriter& out) const {
    out.Put(value_);
}

void TExitPort::RestoreState(TStateReader& in) {
    in.Get(value_);
}

} // namespace korvo
