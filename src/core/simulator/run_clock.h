#pragma once

#include <cstdint>

namespace korvo {

// The millisecond tick counter and the sleep of the run loop. Injected so
// that tests drive time themselves and front ends without a message loop run
// without sleeping.
class IRunClock {
public:
    virtual ~IRunClock() = default;
    virtual std::int64_t NowMilliseconds() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// The steady clock of the system and a real sleep: the rhythm of the IDE.
class TSystemRunClock : public IRunClock {
public:
    std::int64_t NowMilliseconds() override;
    void Sleep(int milliseconds) override;
};

// The steady clock without sleeping: for front ends that have nothing to
// yield to.
class TNoSleepRunClock : public TSystemRunClock {
public:
    void Sleep(int) override {}
};

// One shared instance of the system clock, the default of every simulator.
IRunClock& SystemRunClock();

} // namespace korvo
