#include "simulator/interrupt_schedule.h"

#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

#include <algorithm>

namespace korvo {

TInterruptSchedule::TInterruptSchedule(TPicoBlazeSimulator& simulator, std::vector<std::int64_t> at,
                                       std::int64_t every)
    : simulator_(simulator), at_(std::move(at)), every_(std::max<std::int64_t>(every, 0)),
      nextEvery_(every_ > 0 ? every_ : -1) {
    std::sort(at_.begin(), at_.end());
}

std::int64_t TInterruptSchedule::NextDueCount() const {
    std::int64_t next = nextAt_ < at_.size() ? at_[nextAt_] : -1;
    if (nextEvery_ >= 0 && (next < 0 || nextEvery_ < next)) next = nextEvery_;
    return next;
}

void TInterruptSchedule::Due() {
    // Counts already passed (a reset started the count again) are dropped.
    std::int64_t count = simulator_.InstructionCount();
    bool raise = false;
    for (; nextAt_ < at_.size() && at_[nextAt_] <= count; ++nextAt_)
        raise |= at_[nextAt_] == count;
    if (nextEvery_ >= 0 && nextEvery_ <= count) {
        raise |= nextEvery_ == count;
        nextEvery_ = (count / every_ + 1) * every_;
    }
    if (raise) simulator_.SetInterruptEdge(true);
}

void TInterruptSchedule::SaveState(TStateWriter& out) const {
    out.Put(nextAt_);
    out.Put(nextEvery_);
}

void TInterruptSchedule::RestoreState(TStateReader& in) {
    in.Get(nextAt_);
    in.Get(nextEvery_);
}

} // namespace korvo
