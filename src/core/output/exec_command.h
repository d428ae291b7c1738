#pragma once

#include "common/log.h"
#include "common/process_launcher.h"

#include <string>

namespace korvo {

// Starts the command without waiting for it and logs "!Executing: '...'", or
// the failure with the system's text when it cannot be started.
void StartExecCommand(const std::string& command, IProcessLauncher& launcher, ILog& log);

} // namespace korvo
