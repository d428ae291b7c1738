#include "simulator/run_clock.h"

#include <chrono>
#include <thread>

namespace korvo {

std::int64_t TSystemRunClock::NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TSystemRunClock::Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

IRunClock& SystemRunClock() {
    static TSystemRunClock clock;
    return clock;
}

} // namespace korvo
