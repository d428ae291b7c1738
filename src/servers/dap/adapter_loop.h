#pragma once

#include "dap/debug_target.h"

#include <iosfwd>

namespace korvo::servers {

// Serves one debug session on in and out (standard input and output) until
// the client disconnects or its input ends; a run goes on in bursts between
// the client's messages. Messages that cannot be read are reported on log
// and to the client as output. The exit status of the adapter: 0.
int RunDebugAdapter(std::istream& in, std::ostream& out, std::ostream& log,
                    TDebugLauncher launcher);

} // namespace korvo::servers
