#pragma once

#include "protocol/message_stream.h"

#include <chrono>
#include <iosfwd>
#include <memory>
#include <optional>

namespace korvo::servers {

// Reads framed messages on a thread of its own, so that a server can wait
// for the next one with a timeout (a debounce, a run going on) while the
// client may send at any time.
class TMessageQueue {
public:
    // Starts reading at once. The stream must outlive the reading, which
    // ends at its end (std::cin does).
    explicit TMessageQueue(std::istream& in);
    // A reader still blocked in the stream is left to end with it.
    ~TMessageQueue();
    TMessageQueue(const TMessageQueue&) = delete;
    TMessageQueue& operator=(const TMessageQueue&) = delete;

    // The next read result in order, or nothing when the timeout passed
    // first. Once the input has ended, End every time.
    std::optional<TReadResult> WaitFor(std::chrono::milliseconds timeout);

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};

} // namespace korvo::servers
