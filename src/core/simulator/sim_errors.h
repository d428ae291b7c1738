#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvo {

// Result of the last instruction cycle; meaningful after a failed cycle.
enum TSimError : std::uint8_t {
    seNone = 0,
    seStackOverflow = 1,
    seStackUnderflow = 2,
    seUnsupported = 3,
    seOutsideCode = 4,
    seNoInstruction = 5,
    seIO = 6,
    // An exception other than an access error escaped an event handler.
    seHandlerFailure = 7,
};

// The log line of an error code (taken modulo 128).
std::string SimulatorErrorMessage(int errorCode);

// A refused port, scratch pad or block RAM access. Only the I/O instructions
// catch it; the message is what the log shows. (Not called EIO: that name is
// the errno macro of <cerrno>.)
class EIOError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace korvo
