#pragma once

// Helpers of the tests that drive a real simulation through the commands.
#include "common/core_kind.h"
#include "gui_test_support.h"

#include <QAction>
#include <QStringList>
#include <functional>
#include <string>

namespace korvo {
class TEditor;
class TFrameStatus;
class TPicoBlazeDebugger;
class TSimulationPanels;
} // namespace korvo

namespace korvo::test {

// Selects the core, opens the program as a file in the test's folder and
// presses F12; fails the test unless the program enters Simulate mode.
TEditor& StartSimulation(TTestWindow& window, const QString& name, const std::string& text,
                         TCoreKind core = TCoreKind::pbt3);

// Runs the commands' update handlers and triggers the command; false (and
// a failed check) when it is disabled.
bool Press(TTestWindow& window, QAction* command);

// Calls what once, from inside the next yield after delay milliseconds of
// a run (timers fire in the yields' message processing).
void DuringRun(TTestWindow& window, int delayMilliseconds, std::function<void()> what);

TSimulationPanels& Panels(TTestWindow& window);
TPicoBlazeDebugger& Simulator(TTestWindow& window);
// Log lines added since the line count first.
QStringList LogSince(TTestWindow& window, int first);
int LogCount(TTestWindow& window);

} // namespace korvo::test
