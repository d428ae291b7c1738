#include "output/exec_command.h"

namespace korvo {

void StartExecCommand(const std::string& command, IProcessLauncher& launcher, ILog& log) {
    std::string errorText;
    if (launcher.Launch(command, errorText))
        log.Progress("Executing: '" + command + "'");
    else
        log.Failure("Can not execute: '" + command + "'; reason: '" + errorText + "'");
}

} // namespace korvo
