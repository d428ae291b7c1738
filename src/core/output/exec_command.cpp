#include "output/exec_command.h"

namespace korvo {

void StartExecCommand(const std::string& command, IProcessLauncher& launcher, ILog& log) {
    std::string errorText;
    if (launcher.Launch(command, errorText))
        log.AddLogLine("!Executing: '" + command + "'");
    else
        log.AddLogLine("Failure: Can not execute: '" + command + "'; reason: '" + errorText + "'");
}

} // namespace korvo
