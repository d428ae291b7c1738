// The servers' message framing over any bytes: every read ends in a message,
// a malformed one or the end, and the end comes.

#include "protocol/message_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

using namespace korvo::servers;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    TMessageReader reader(in, 4096);
    // Each read consumes at least one byte, so the end comes within size + 1.
    for (std::size_t i = 0; i <= size; ++i)
        if (reader.Read().Status == TReadStatus::End) return 0;
    std::abort();
}
