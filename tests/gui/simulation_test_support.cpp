#include "simulation_test_support.h"

#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "simulator/debugger.h"

#include <QTimer>
#include <QtTest>

namespace korvo::test {

TEditor& StartSimulation(TTestWindow& window, const QString& name, const std::string& text,
                         TCoreKind core) {
    auto& commands = window->Commands();
    commands.CoreAction(core)->trigger();
    window->OpenDocument(WriteFile(window.Settings.Folder(), name, text));
    TEditor& document = window.Active();
    Press(window, commands.actSimulate);
    if (document.Mode() != dmSimulate)
        qFatal("the test program did not assemble:\n%s", qPrintable(LogLines(*window).join('\n')));
    return document;
}

bool Press(TTestWindow& window, QAction* command) {
    window->UpdateCommands();
    bool enabled = command->isEnabled();
    if (!enabled) qWarning("%s is disabled", qPrintable(command->objectName()));
    command->trigger();
    window->UpdateCommands();
    return enabled;
}

void DuringRun(TTestWindow& window, int delayMilliseconds, std::function<void()> what) {
    QTimer::singleShot(delayMilliseconds, &*window, std::move(what));
}

TSimulationPanels& Panels(TTestWindow& window) {
    return window->Commands().SimulationPanels();
}

TPicoBlazeDebugger& Simulator(TTestWindow& window) {
    TPicoBlazeDebugger* simulator = window.Active().Simulator();
    if (!simulator) qFatal("the active document has no simulator");
    return *simulator;
}

int LogCount(TTestWindow& window) {
    return window->LogPane()->LineCount();
}

QStringList LogSince(TTestWindow& window, int first) {
    return LogLines(*window).mid(first);
}

} // namespace korvo::test
