#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace korvo::cli {

// Reads standard input as raw bytes on a thread of its own, so that a run
// never waits for it, and keeps at most kCapacity bytes ahead of its taker:
// a writer faster than the taker is held back by the pipe.
//
// The thread may be blocked in a read when the reader goes; it is then left
// to end with the process, holding only its own state.
class TStdinReader {
public:
    static constexpr std::size_t kCapacity = 64 * 1024;

    TStdinReader();
    ~TStdinReader();
    TStdinReader(const TStdinReader&) = delete;
    TStdinReader& operator=(const TStdinReader&) = delete;

    // Up to max bytes of what was read, in order.
    std::string Take(std::size_t max);
    // The input has ended (or failed) and everything read was taken.
    bool Ended() const;

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};

} // namespace korvo::cli
