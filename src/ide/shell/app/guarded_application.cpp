#include "shell/app/guarded_application.h"

#include <cstdio>
#include <exception>

namespace korvo {

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& fault) {
        Report(fault.what());
    } catch (...) {
        Report("unknown exception");
    }
    return false;
}

void TGuardedApplication::Report(const std::string& what) {
    const std::string message = "?Internal error: " + what + "; the command was stopped";
    std::fprintf(stderr, "korvo-ide: %s\n", message.c_str() + 1);
    if (reporter_) reporter_(message);
}

} // namespace korvo
