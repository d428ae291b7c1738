// The simulation commands, the assembler's entry from a document and the
// handlers of the simulator's events: state changes build and free the
// panels, runs keep the register panel and the simulator in step and go on
// in bursts of the session from a timer, so that the window works meanwhile.
#include "assembler/driver.h"
#include "assembler/source_symbols.h"
#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_status.h"
#include "panels/simulation_panels.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"

#include "common/settings_layout.h"
#include "shell/app/icons.h"
#include "shell/app/workbench.h"
#include "shell/commands/run_speed.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"
#include "shell/settings/panel_limits.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"

#include <QFile>

namespace korvo {

namespace {
// The labels of a document's own text with their addresses, and its lines.
TProgramText ProgramTextOf(TDocument& editor) {
    TProgramText program;
    std::string ownName = QFile::encodeName(editor.FileName()).toStdString();
    for (const TSourceSymbol& symbol : editor.Symbols())
        if (symbol.Kind == skLabel && symbol.FileName == ownName)
            program.Labels.emplace_back(symbol.Value, QString::fromStdString(symbol.Name));
    std::stable_sort(program.Labels.begin(), program.Labels.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (auto* text = editor.TextControl())
        for (int line = 0; line < text->LineCount(); ++line)
            program.Lines << QString::fromStdString(text->LineBytes(line));
    return program;
}
} // namespace

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

    // The commands that drive the simulator need the active document in
    // Simulate mode and no print preview; their own test comes on top.
    auto add = [this](QAction*& target, const TCommandInfo& info,
                      std::function<bool(TPicoBlazeSimulator&)> operation,
                      std::function<bool(const TPicoBlazeSimulator&)> allowed) {
        target = actions_.Add(
            info, [this, operation] { DriveSimulator(operation); },
            [this, allowed](QAction& a) {
                const TPicoBlazeSimulator* simulator = SimulatingSimulator();
                a.setEnabled(simulator && !PreviewOn() && allowed(*simulator));
            });
        target->setEnabled(false);
    };
    auto withDocument = [this](bool (TSimulator::*test)() const) {
        return
            [this, test](const TPicoBlazeSimulator& s) { return ActiveDocument() && (s.*test)(); };
    };
    add(
        actReset, {"actReset", "Reset", "Reset", QKeySequence(Qt::CTRL | Qt::Key_F2), "reset"},
        [](TPicoBlazeSimulator& s) {
            s.Reset();
            return false;
        },
        [](const TPicoBlazeSimulator&) { return true; });
    add(
        actRun, {"actRun", "Run", "Run", QKeySequence(Qt::Key_F9), "run"},
        [](TPicoBlazeSimulator& s) { return s.StepToRun(); }, withDocument(&TSimulator::CanStep));
    add(
        actStepOne, {"actStepOne", "Step One", "Step One", QKeySequence(Qt::Key_F7), "step-one"},
        [](TPicoBlazeSimulator& s) {
            s.Step();
            return false;
        },
        withDocument(&TSimulator::CanStep));
    add(
        actStepOver,
        {"actStepOver", "Step Over", "Step Over", QKeySequence(Qt::Key_F8), "step-over"},
        [](TPicoBlazeSimulator& s) { return s.AimStepOver(); }, withDocument(&TSimulator::CanStep));
    add(
        actGotoCursor,
        {"actGotoCursor", "To Cursor", "Run till cursor", QKeySequence(Qt::Key_F4), "to-cursor"},
        [this](TPicoBlazeSimulator& s) { return s.AimRunToLine(CaretLine()); },
        [this](const TPicoBlazeSimulator& s) {
            return ActiveDocument() && s.CanRunToLine(CaretLine());
        });
    add(
        actPause, {"actPause", "Pause", "Pause", QKeySequence(Qt::Key_F6), "pause"},
        [](TPicoBlazeSimulator& s) {
            s.Pause();
            return false;
        },
        withDocument(&TSimulator::CanPause));
    add(
        actSetBreakpoint,
        {"actSetBreakpoint", "Toggle", "Toggle Breakpoint", QKeySequence(Qt::Key_F5), "breakpoint"},
        [this](TPicoBlazeSimulator& s) {
            s.ToggleBreakpoint(CaretLine());
            return false;
        },
        [this](const TPicoBlazeSimulator& s) {
            return ActiveDocument() && s.CanStep() && s.LineHasCode(CaretLine());
        });
    add(
        actClearBreakpoints,
        {"actClearBreakpoints", "Clear", "Clear All Breakpoints",
         QKeySequence(Qt::SHIFT | Qt::Key_F5), "breakpoint-clear"},
        [](TPicoBlazeSimulator& s) {
            s.ClearBreakpoints();
            return false;
        },
        [](const TPicoBlazeSimulator& s) { return s.HasBreakpoints(); });

    // Back over the recorded run; they need something recorded.
    auto addBack = [this](QAction*& target, const TCommandInfo& info,
                          std::function<void(TSimulationSession&)> operation) {
        target = actions_.Add(
            info, [this, operation] { DriveBack(operation); },
            [this](QAction& a) {
                TDocument* editor = ActiveDocument() ? workbench_.Documents().Active() : nullptr;
                const TPicoBlazeSimulator* simulator = SimulatingSimulator();
                TSimulationSession* session = editor ? editor->Session() : nullptr;
                a.setEnabled(simulator && session && !PreviewOn() &&
                             (simulator->IsPaused() || simulator->State() == ssHalted) &&
                             session->RecordedSteps() > 0);
            });
        target->setEnabled(false);
    };
    addBack(actStepBack,
            {"actStepBack", "Step Back", "Step Back", QKeySequence(Qt::SHIFT | Qt::Key_F7),
             "step-back"},
            [](TSimulationSession& session) { session.StepBack(); });
    addBack(actRunBack,
            {"actRunBack", "Run Back", "Run back to the previous breakpoint",
             QKeySequence(Qt::SHIFT | Qt::Key_F9), "run-back"},
            [](TSimulationSession& session) { session.RunBack(); });

    runTimer_.setSingleShot(true);
    connect(&runTimer_, &QTimer::timeout, this, [this] { ContinueRun(); });
    runSpeed_ = std::make_unique<TRunSpeedCommands>(actions_);
    // A speed chosen during a run takes effect at once.
    connect(runSpeed_.get(), &TRunSpeedCommands::Changed, this, [this] { ApplyRunSpeed(); });
}

void TCommandsDataModule::ApplyRunSpeed() {
    TDocument* editor = workbench_.Documents().Active();
    if (!editor || !editor->Simulator() || !editor->Session()) return;
    editor->Simulator()->SetRunPace(runSpeed_->Pace(editor->Session()->FrequencyMHz()));
}

TPicoBlazeSimulator* TCommandsDataModule::SimulatingSimulator() const {
    auto* simulation = ActiveSimulation();
    return simulation && simulation->Mode() == dmSimulate ? simulation->Simulator() : nullptr;
}

int TCommandsDataModule::CaretLine() const {
    auto* document = ActiveDocument();
    return document ? document->GetCaretPos().Line : 0;
}

void TCommandsDataModule::DriveSimulator(
    const std::function<bool(TPicoBlazeSimulator&)>& operation) {
    TDocument* editor = workbench_.Documents().Active();
    if (!editor || editor->Mode() != dmSimulate || !editor->Simulator() || PreviewOn()) return;
    // A command during a run (Pause) belongs to that run.
    if (!editor->Simulator()->IsRunning()) simulationPanels_->BeginChanges();
    ApplyRunSpeed();
    if (operation(*editor->Simulator())) RunBurst(*editor);
    FollowRun(*editor);
    workbench_.RepaintStatus();
}

void TCommandsDataModule::DriveBack(const std::function<void(TSimulationSession&)>& operation) {
    TDocument* editor = workbench_.Documents().Active();
    if (!editor || editor->Mode() != dmSimulate || !editor->Session() || PreviewOn()) return;
    if (editor->Simulator()->IsRunning()) return;
    simulationPanels_->BeginChanges();
    operation(*editor->Session());
    FollowRun(*editor);
    workbench_.RepaintStatus();
}

void TCommandsDataModule::FollowRun(TDocument& document) {
    TPicoBlazeSimulator* simulator = document.Simulator();
    if (simulator && simulator->IsRunning()) {
        runDocument_ = document.weak_from_this();
        runTimer_.start();
        return;
    }
    runTimer_.stop();
    runDocument_.reset();
    simulationPanels_->EndChanges();
}

void TCommandsDataModule::ContinueRun() {
    // The document may have been closed, or the run stopped, meanwhile.
    std::shared_ptr<TDocument> document = runDocument_.lock();
    TPicoBlazeSimulator* simulator = document ? document->Simulator() : nullptr;
    if (!simulator || !simulator->IsRunning()) {
        runDocument_.reset();
        if (simulator && simulationPanels_->IsBound(*simulator)) simulationPanels_->EndChanges();
        workbench_.RepaintStatus();
        return;
    }
    if (simulationPanels_->IsBound(*simulator)) {
        // What the run has done so far.
        simulationPanels_->Refresh();
        if (workbench_.Documents().Active() == document.get())
            document->Simulation().RefreshRunStatus();
        workbench_.RepaintStatusBar();
        simulationPanels_->TimerTick();
    }
    RunBurst(*document);
    FollowRun(*document);
    if (!simulator->IsRunning()) workbench_.RepaintStatus();
}

void TCommandsDataModule::RunBurst(TDocument& document) {
    TSimulationSession* session = document.Session();
    if (!session) return;
    // The burst ends where the run would yield, after a slice of wall time
    // or an animated instruction, so that the window works between bursts.
    session->RunBurst(PacedInstructions(runSpeed_->Pace(session->FrequencyMHz()),
                                        TSimulator::kRunSliceMilliseconds),
                      true);
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
    // The choice is the file's from now on, in the IDE and for korvo asm.
    if (auto* document = ActiveDocument(); document && !document->FileName().isEmpty())
        settings::StoreFileCoreKind(settings_,
                                    QFile::encodeName(document->FileName()).toStdString(), kind);
}

TCoreKind TCommandsDataModule::ShownCoreKind() const {
    auto* simulation = ActiveSimulation();
    return simulation && simulation->Simulator() ? simulation->Simulator()->CoreKind() : coreKind_;
}

bool TCommandsDataModule::AssembleDocument(const QString& fileName,
                                           const std::vector<std::string>& lines,
                                           std::vector<std::string>& listing,
                                           std::vector<TAssemblyDiagnostic>& diagnostics,
                                           TPicoBlazeSimulator& simulator) {
    // A core with build options assembles for the build the settings hold.
    simulator.SetCoreOptions(settings::LoadCoreOptions(settings_, simulator.CoreKind()));
    TAssemblyContext context{parser_, &simulator, Log(), settings_, &launcher_};
    context.SuggestOtherCore = true;
    try {
        return AssembleSource(context, QFile::encodeName(fileName).toStdString(), lines, listing,
                              &diagnostics);
    } catch (const std::exception& error) {
        // Files that cannot be read are logged by the run; only an unexpected
        // failure (memory) ends up here.
        dialogs_.ShowError(DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

void TCommandsDataModule::SimulationStarted(TDocument& document) {
    TPicoBlazeSimulator* simulator = document.Simulator();
    TSimulationSession* session = document.Session();
    if (!simulator || !session) return;
    simulator->OnRunStart = [this](TSimulator& sender) { HandleRunStart(sender); };
    simulator->OnRunEnd = [this](TSimulator& sender) { HandleRunEnd(sender); };
    session->OnStateEntered = [this, session](TSimulatorState state) {
        HandleStateEntered(*session, state);
    };
}

void TCommandsDataModule::SimulationFailed(TDocument& document) {
    if (TPicoBlazeSimulator* simulator = document.Simulator()) {
        simulator->OnRunStart = nullptr;
        simulator->OnRunEnd = nullptr;
    }
}

void TCommandsDataModule::HandleStateEntered(TSimulationSession& session, TSimulatorState state) {
    TSimulationPanels& panels = *simulationPanels_;
    switch (state) {
    case ssLoaded: {
        if (TDocument* editor = workbench_.Documents().Active();
            editor && editor->Simulator() == &session.Simulator())
            panels.SetProgramText(ProgramTextOf(*editor));
        const TPanelLimits& limits = ProcessPanelLimits();
        panels.Build(session, parser_, limits.IoPanelsVertical, limits.MemoryPanelsHorizontal);
        workbench_.DockSimulationPanels(&panels.Status(),
                                        panels.HasIOFrames() ? &panels.IOPanels() : nullptr,
                                        panels.HasMemoryFrames() ? &panels.RAMPanels() : nullptr,
                                        panels.HasUartTerminals() ? &panels.UartPanel() : nullptr);
        workbench_.ShowSimulationViews(true);
        break;
    }
    case ssIdle:
        if (!panels.IsBound(session.Simulator())) break;
        workbench_.ShowSimulationViews(false);
        workbench_.UndockSimulationPanels();
        panels.Free();
        break;
    case ssReset:
        if (panels.IsBound(session.Simulator())) panels.ProgramReset();
        break;
    case ssRunning:
    case ssPaused:
    case ssHalted: break;
    }
}

void TCommandsDataModule::HandleRunStart(TSimulator& sender) {
    if (simulationPanels_->IsBound(sender)) simulationPanels_->RunStarted();
    workbench_.RepaintStatus();
}

void TCommandsDataModule::HandleRunEnd(TSimulator& sender) {
    if (simulationPanels_->IsBound(sender)) simulationPanels_->Refresh();
    workbench_.RepaintStatus();
}

} // namespace korvo
