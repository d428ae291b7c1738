#pragma once

#include <cstdint>

namespace korvo {

class TStateReader;
class TStateWriter;

// What a port or scratch pad access did: a port read or write, a scratch
// pad read (FETCH) or write (STORE), a write to a constant port (OUTK).
enum class TAccessKind : std::uint8_t {
    PortRead,
    PortWrite,
    ScratchRead,
    ScratchWrite,
    ConstantWrite
};
inline constexpr int kAccessKindCount = static_cast<int>(TAccessKind::ConstantWrite) + 1;

// An object that watches or steers a run: a trace, a waveform writer, an
// interrupt schedule, an expected output. Observers are attached to the
// simulator (not owned) and are called only for what they ask for, so that
// a run without them keeps its full speed:
// - per cycle (BeforeCycle and AfterCycle) only while WatchesCycles() is
//   true; the run asks at the start of every burst of cycles;
// - Due() once the instruction count reaches NextDueCount(), before the
//   cycle that would go past it; the run goes at full speed until then;
// - Accessed() after every port or scratch pad access that succeeded and
//   that it watches.
// An observer may stop the run from any callback (RequestStop); it must not
// attach or detach observers from inside one.
class IRunObserver {
public:
    virtual ~IRunObserver() = default;

    virtual bool WatchesCycles() const { return false; }
    virtual void BeforeCycle() {}
    // After the cycle, whether or not it completed an instruction or failed.
    virtual void AfterCycle() {}

    // The instruction count at which Due() is wanted next; -1 for none.
    virtual std::int64_t NextDueCount() const { return -1; }
    virtual void Due() {}

    // Whether Accessed is wanted for this kind of access at this port or
    // offset; asked when the observer is attached, so the answer must stay
    // the same while it is. Accesses nobody watches cost the run nothing.
    virtual bool Watches(TAccessKind /*kind*/, std::int32_t /*address*/) const { return true; }
    // address: the port, or the scratch pad offset.
    virtual void Accessed(TAccessKind /*kind*/, std::int32_t /*address*/, std::int32_t /*value*/) {}
    // A port whose writes this observer takes although the port map refuses
    // them (an undeclared port that ends the run, for instance).
    virtual bool TakesWritesTo(std::int32_t /*port*/) const { return false; }

    // What stepping a run back needs of an observer that steers the run:
    // its state, written and read back in the same order (state_bytes.h).
    // One that only reports (a trace, a waveform) keeps what it reported.
    virtual void SaveState(TStateWriter& /*out*/) const {}
    virtual void RestoreState(TStateReader& /*in*/) {}
};

} // namespace korvo
