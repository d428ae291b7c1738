#pragma once

#include "simulator/run_observer.h"

#include <cstdint>
#include <optional>

namespace korvo {

class TPicoBlazeSimulator;

// A port through which a program under test reports its result: the first
// write to it ends the run after that instruction, and its value is the
// result (0 for success). The port needs no declaration; a declared port is
// written as usual as well.
class TExitPort : public IRunObserver {
public:
    TExitPort(TPicoBlazeSimulator& simulator, int port);

    int Port() const { return port_; }
    // The value written; nothing while the program has not written it.
    std::optional<std::int32_t> Value() const { return value_; }

    bool TakesWritesTo(std::int32_t port) const override { return port == port_; }
    bool Watches(TAccessKind kind, std::int32_t address) const override {
        return kind == TAccessKind::PortWrite && address == port_;
    }
    void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override;
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;

private:
    TPicoBlazeSimulator& simulator_;
    int port_;
    std::optional<std::int32_t> value_;
};

} // namespace korvo
