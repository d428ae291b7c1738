#pragma once

#include <string>

namespace korvo {

// Starts an external command without waiting for it.
class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // Starts the command line as a new process in the program's current
    // directory with its environment, and does not wait for it. True when the
    // process started; otherwise errorText holds the system's text for the
    // failure.
    virtual bool Launch(const std::string& commandLine, std::string& errorText) = 0;
};

} // namespace korvo
