#pragma once

#include "assembler/syn_picoblaze.h"
#include "common/core_kind.h"
#include "platform/process_launcher.h"
#include "shell/app/recent_files.h"
#include "shell/document/document_host.h"
#include "shell/document/untitled_numbers.h"
#include "shell/search/search_state.h"
#include "simulator/simulator_base.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;

namespace korvo {

class IWorkbench;
class TActionList;
class TSimulator;
class TPrintEngine;
class TRunSpeedCommands;
class TSimulationPanels;
class TSimulationSession;

// The command module: every file, edit, search, settings and simulation
// command with its enabling rule, and the services the documents share (recent
// files, untitled numbers, file dialogs, highlighters, search state, column
// positions, the print engine, the core kind).
class TCommandsDataModule : public QObject, public IDocumentHost {
    Q_OBJECT
public:
    TCommandsDataModule(IWorkbench& workbench, TActionList& actions, ISettingsStore& settings,
                        IUserDialogs& dialogs, QObject* parent = nullptr);
    ~TCommandsDataModule() override;

    // IDocumentHost
    ILog& Log() override;
    ISettingsStore& Settings() override { return settings_; }
    IUserDialogs& Dialogs() override { return dialogs_; }
    QWidget* DialogParent() override;
    int TakeUntitledNumber() override { return untitledNumbers_.Take(); }
    void ReleaseUntitledNumber(int number) override { untitledNumbers_.Release(number); }
    void AddRecentFile(const QString& fileName) override { recentFiles_.Add(fileName); }
    const TLexerEntry* HighlighterForFile(const QString& fileName) const override;
    bool ExecuteSaveDialog(QString& fileName, const TLexerEntry* highlighter) override;
    TSearchState& SearchState() override { return searchState_; }
    TFormatColumns Columns() const override { return columns_; }
    QList<QAction*> EditorContextActions() override;
    bool AssembleDocument(const QString& fileName, const std::vector<std::string>& lines,
                          std::vector<std::string>& listing,
                          std::vector<TAssemblyDiagnostic>& diagnostics,
                          TPicoBlazeSimulator& simulator) override;
    void SimulationStarted(TDocument& document) override;
    void SimulationFailed(TDocument& document) override;
    bool ShowPreview(TDocument& document) override;
    void HidePreview() override;
    void Print(TDocument& document) override;

    // Shared services of the main window.
    TRecentFiles& RecentFiles() { return recentFiles_; }
    // The open-file dialog; fileName is the initial and, on true, the chosen name.
    bool ExecuteOpenDialog(QString& fileName);
    // A save dialog with the given filter ("Description|patterns|...").
    bool ExecuteSaveDialog(QString& fileName, const QString& filter, const QString& suffix);
    TCoreKind CoreKind() const override { return coreKind_; }
    void ShowSourceLine(const QString& fileName, int line) override;
    void SetCoreKind(TCoreKind kind) { coreKind_ = kind; }
    // The core the active document is written for; the one for new work
    // while no document is active.
    TCoreKind ShownCoreKind() const;
    TSynPicoBlaze& Parser() override { return parser_; }
    const std::vector<TLexerEntry>& Highlighters() const { return highlighters_; }
    // The status, I/O and memory panels of the simulation.
    TSimulationPanels& SimulationPanels() { return *simulationPanels_; }
    // The speed of runs (Simulate menu and tool bar).
    TRunSpeedCommands& RunSpeed() { return *runSpeed_; }
    TPrintEngine& PrintEngine() { return *printEngine_; }

    // Reads the highlighter colours from "Attributes" into the shared
    // highlighter and repaints every document.
    void LoadHighlighterAttributes();
    // Reads "Columns" (20, 30, 50 when a value is missing) and moves the
    // active document's right edge to Column3.
    void ReadColumns();

    // The commands, by area; captions, hints and rules are in
    // commands_<area>.cpp. File and edit:
    QAction* actFileSave = nullptr;
    QAction* actFileSaveAs = nullptr;
    QAction* actFileClose = nullptr;
    QAction* actFilePrint = nullptr;
    QAction* actFilePreview = nullptr;
    QAction* actEditCut = nullptr;
    QAction* actEditCopy = nullptr;
    QAction* actEditPaste = nullptr;
    QAction* actEditDelete = nullptr;
    QAction* actEditUndo = nullptr;
    QAction* actEditRedo = nullptr;
    QAction* actEditSelectAll = nullptr;
    QAction* actComment = nullptr;
    QAction* actFormat = nullptr;
    // Search and navigation:
    QAction* actSearchFind = nullptr;
    QAction* actSearchFindNext = nullptr;
    QAction* actSearchFindPrev = nullptr;
    QAction* actSearchReplace = nullptr;
    QAction* actGotoLine = nullptr;
    QAction* actGotoDefinition = nullptr;
    // Settings:
    QAction* actSettings = nullptr;
    QAction* actEditor = nullptr;
    QAction* actTarget = nullptr;
    // Simulation:
    QAction* actSimulate = nullptr;
    QAction* actReset = nullptr;
    QAction* actRun = nullptr;
    QAction* actStepOne = nullptr;
    QAction* actStepOver = nullptr;
    QAction* actStepBack = nullptr;
    QAction* actRunBack = nullptr;
    QAction* actGotoCursor = nullptr;
    QAction* actPause = nullptr;
    QAction* actSetBreakpoint = nullptr;
    QAction* actClearBreakpoints = nullptr;
    // The Settings menu command of each core, in the order of kCores.
    std::array<QAction*, kCoreCount> actCores{};
    QAction* CoreAction(TCoreKind kind) const;

    // The folder of chosen is where the next file dialog without a name of
    // its own starts while no document with a file is active.
    void RememberDialogFolder(const QString& chosen);

private:
    // Where a file dialog without a name starts: the active document's
    // folder, else the folder of the file chosen last.
    QString DialogStartFolder() const;
    void CreateFileAndEditCommands();
    void CreateSearchCommands();
    void CreateNavigationCommands();
    void CreateSettingsCommands();
    void CreateSimulationCommands();
    void ExecuteSettings();
    void ExecuteFormat();
    void ExecuteSimulate();
    void SelectCore(TCoreKind kind);
    // The simulator of the active document while it is in Simulate mode.
    TPicoBlazeSimulator* SimulatingSimulator() const;
    int CaretLine() const;
    // Runs a simulator operation on the active document; an operation that
    // returns true starts a run in bursts from there.
    void DriveSimulator(const std::function<bool(TPicoBlazeSimulator&)>& operation);
    // Step Back and Run Back: the session goes back over its record.
    void DriveBack(const std::function<void(TSimulationSession&)>& operation);
    // A run goes on from the event loop in bursts of the document's session,
    // with the window working between them; the panels mark what changed
    // once it ends.
    void FollowRun(TDocument& document);
    void ContinueRun();
    void RunBurst(TDocument& document);
    // Handlers of the simulator's events.
    void HandleStateEntered(TSimulationSession& session, TSimulatorState state);
    void HandleRunStart(TSimulator& sender);
    void HandleRunEnd(TSimulator& sender);
    // Gives the active document's simulator the chosen speed.
    void ApplyRunSpeed();

    // The active document as each interface (all null when none is active).
    IDocument* ActiveDocument() const;
    IDocumentEditCommands* ActiveEditCommands() const;
    IDocumentFileCommands* ActiveFileCommands() const;
    IDocumentSearchCommands* ActiveSearchCommands() const;
    IDocumentSimulation* ActiveSimulation() const;
    bool PreviewOn() const;
    bool EditMode() const;

    IWorkbench& workbench_;
    TActionList& actions_;
    ISettingsStore& settings_;
    IUserDialogs& dialogs_;
    TSynPicoBlaze parser_;
    std::vector<TLexerEntry> highlighters_;
    QString openFilter_;
    TRecentFiles recentFiles_;
    TUntitledNumbers untitledNumbers_;
    TSearchState searchState_;
    TFormatColumns columns_;
    TCoreKind coreKind_ = kDefaultCoreKind;
    std::unique_ptr<TPrintEngine> printEngine_;
    // Starts the EXEC command of a successful assembly.
    TSystemProcessLauncher launcher_;
    std::unique_ptr<TSimulationPanels> simulationPanels_;
    // The next slice of the run of runDocument_.
    QTimer runTimer_;
    std::weak_ptr<TDocument> runDocument_;
    std::unique_ptr<TRunSpeedCommands> runSpeed_;
};

} // namespace korvo
