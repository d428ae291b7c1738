#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace korvo {

// The application object of the IDE: an exception that escapes the handling
// of an event (a fault of the program, not of the user's input) is reported
// and the event loop goes on, so that no open document is lost with it.
class TGuardedApplication : public QApplication {
public:
    using TReporter = std::function<void(const std::string& message)>;

    TGuardedApplication(int& argc, char** argv);

    // Where the reports go besides standard error; the log pane once the
    // main window exists.
    void SetReporter(TReporter reporter) { reporter_ = std::move(reporter); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Report(const std::string& what);

    TReporter reporter_;
};

} // namespace korvo
