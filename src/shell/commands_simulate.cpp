// The simulation commands and the assembler's entry from a document.
#include "assembler/driver.h"
#include "common/log.h"
#include "shell/action_list.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/icons.h"
#include "shell/user_dialogs.h"
#include "shell/workbench.h"
#include "simulator/debugger.h"

#include <QFile>

namespace korvo {

void TCommandsDataModule::CreateSimulationCommands() {
    actSimulate = actions_.AddCheckable(
        {"actSimulate", "Simulate", "Assemble & Simulate", QKeySequence(Qt::Key_F12), "simulate"},
        [this] { ExecuteSimulate(); },
        [this](QAction& a) {
            auto* simulation = ActiveSimulation();
            a.setEnabled(simulation && !PreviewOn());
            bool simulating = simulation && simulation->Mode() != dmEdit;
            a.setChecked(simulating);
            QVariant shown = a.property("simulating");
            if (shown.isNull() || shown.toBool() != simulating) {
                a.setProperty("simulating", simulating);
                QString hint = simulating ? QStringLiteral("Back to Edit mode")
                                          : QStringLiteral("Assemble & Simulate");
                a.setIcon(CommandIcon(simulating ? QStringLiteral("edit-mode")
                                                 : QStringLiteral("simulate")));
                a.setToolTip(hint);
                a.setStatusTip(hint);
            }
        });

    // Running the program comes with the simulator's run loop; until a
    // document can be simulated these commands stay disabled.
    const TCommandInfo runCommands[] = {
        {"actReset", "Reset", "Reset", QKeySequence(Qt::CTRL | Qt::Key_F2), "reset"},
        {"actRun", "Run", "Run", QKeySequence(Qt::Key_F9), "run"},
        {"actStepOne", "Step One", "Step One", QKeySequence(Qt::Key_F7), "step-one"},
        {"actStepOver", "Step Over", "Step Over", QKeySequence(Qt::Key_F8), "step-over"},
        {"actGotoCursor", "To Cursor", "Run till cursor", QKeySequence(Qt::Key_F4), "to-cursor"},
        {"actPause", "Pause", "Pause", {}, "pause"},
        {"actSetBreakpoint", "Toggle", "Toggle Breakpoint", QKeySequence(Qt::Key_F5), "breakpoint"},
        {"actClearBreakpoints", "Clear", "Clear All Breakpoints",
         QKeySequence(Qt::SHIFT | Qt::Key_F5), "breakpoint-clear"},
    };
    QAction** targets[] = {&actReset,      &actRun,   &actStepOne,       &actStepOver,
                           &actGotoCursor, &actPause, &actSetBreakpoint, &actClearBreakpoints};
    for (std::size_t i = 0; i < std::size(runCommands); ++i) {
        *targets[i] = actions_.Add(runCommands[i], {}, [](QAction& a) { a.setEnabled(false); });
        (*targets[i])->setEnabled(false);
    }
}

void TCommandsDataModule::ExecuteSimulate() {
    auto* simulation = ActiveSimulation();
    if (!simulation) return;
    simulation->SetMode(simulation->Mode() == dmEdit ? dmSimulate : dmEdit);
    workbench_.RepaintStatus();
}

void TCommandsDataModule::SelectCore(TCoreKind kind) {
    coreKind_ = kind;
    auto* simulation = ActiveSimulation();
    if (simulation && (!simulation->Simulator() || simulation->Simulator()->CoreKind() != kind))
        simulation->SetCoreKind(kind);
}

bool TCommandsDataModule::AssembleDocument(const QString& fileName,
                                           const std::vector<std::string>& lines,
                                           std::vector<std::string>& listing,
                                           TPicoBlazeDebugger& simulator) {
    TAssemblyContext context{parser_, &simulator, Log(), settings_, &launcher_};
    try {
        return AssembleSource(context, QFile::encodeName(fileName).toStdString(), lines, listing);
    } catch (const std::exception& error) {
        // An included file that cannot be read ends the run.
        dialogs_.ShowError(DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

void TCommandsDataModule::SimulationStarted(TEditor&) {}

void TCommandsDataModule::SimulationFailed(TEditor&) {}

} // namespace korvo
