#include "simulator/sim_errors.h"

namespace korvo {

std::string SimulatorErrorMessage(int errorCode) {
    switch (errorCode % 128) {
    case seStackOverflow: return "?Stack overflow occurred.";
    case seStackUnderflow: return "?Stack underflow occurred.";
    case seUnsupported: return "?Unsupported instruction encountered.";
    case seOutsideCode: return "?Tried to run outside code space.";
    case seNoInstruction: return "?No instruction found at this address.";
    case seIO: return "?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad.";
    default: return "Unknown error; please report this problem.";
    }
}

} // namespace korvo
