#pragma once

#include "common/process_launcher.h"

namespace korvo {

// Starts commands as processes of the operating system. On Windows the
// command line goes whole to CreateProcess; elsewhere it is split into words
// as a shell splits a simple command (see SplitCommandWords) and the first
// word is looked up on PATH. The process starts in the program's current
// directory with its environment and inherits its standard streams; nobody
// waits for it, and it is never left behind as a zombie. A failure to start
// is known when Launch returns, with the system's text for it.
class TSystemProcessLauncher : public IProcessLauncher {
public:
    bool Launch(const std::string& commandLine, std::string& errorText) override;
};

} // namespace korvo
