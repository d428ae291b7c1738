#pragma once

#include "panels/change_marks.h"
#include "panels/program_text.h"
#include "simulator/simulator_base.h"

#include <QString>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QWidget;

namespace korvo {

class IUserDialogs;
class TCallStackView;
class TProfileView;
class TCodeMemoryView;
class TFrameIOPanels;
class TFrameRAMPanels;
class TFrameStatus;
class TFrameUartTerminal;
class TPicoBlazeSimulator;
class TSimulationSession;
class TSynPicoBlaze;
class TUartBridges;

// The panels of a simulation: the status panel, the input/output panels and
// the memory panels. One set for the program; bound to the simulation of a
// document from the loading of its program to the end of its simulation.
// They show and edit the simulation's models and are brought up to date at
// the yields and at the end of each run, never per instruction.
class TSimulationPanels {
public:
    TSimulationPanels(IUserDialogs& dialogs, std::function<QWidget*()> dialogParent);
    ~TSimulationPanels();
    TSimulationPanels(const TSimulationPanels&) = delete;
    TSimulationPanels& operator=(const TSimulationPanels&) = delete;

    TFrameStatus& Status() { return *status_; }
    TFrameIOPanels& IOPanels() { return *ioPanels_; }
    TFrameRAMPanels& RAMPanels() { return *ramPanels_; }
    TCodeMemoryView& CodeMemory() { return *codeMemory_; }
    TCallStackView& CallStack() { return *callStack_; }
    TProfileView& Profile() { return *profile_; }

    // The labels and lines the code memory and call stack views show of the
    // next program that is built.
    void SetProgramText(const TProgramText& program) { program_ = program; }
    // The terminals of the UARTs side by side, one per UART.
    QWidget& UartPanel() { return *uartPanel_; }
    const std::vector<TFrameUartTerminal*>& UartTerminals() const { return terminals_; }

    // Binds the panels to a loaded program and builds its frames; the
    // register rows get the names the program gives them; each UART gets a
    // terminal, which serves its TCP port when the session says so. Also
    // routes the models' messages to message boxes.
    void Build(TSimulationSession& session, const TSynPicoBlaze& parser, int maxIoVertical,
               int maxMemoryHorizontal);
    // Frees every frame and unbinds.
    void Free();
    bool IsBound(const TSimulator& simulator) const;
    TPicoBlazeSimulator* Simulator() const { return simulator_; }
    bool HasIOFrames() const;
    bool HasMemoryFrames() const;
    bool HasUartTerminals() const { return !terminals_.empty(); }

    // A run or step of the bound simulator starts: typed registers go in.
    void RunStarted();
    // Every panel from the models; the terminals move the UARTs' bytes.
    void Refresh();
    // The program was reset: the profile counts from zero again.
    void ProgramReset();
    // Once per yield of a run.
    void TimerTick();

    // A command steps or runs the bound simulator: the values shown now are
    // what its end is compared with, and the marks of the last one go.
    void BeginChanges();
    // The command is over: the values it changed are marked until the next
    // step or run.
    void EndChanges();

    // A message box of a model ("abc is not an integer", "Bad format
    // specifier ..."). While a run goes on, a message already shown in it is
    // not shown again: an instruction repeated in a loop would otherwise
    // bring the box back at once, and the user could never reach Pause.
    void ShowMessage(const std::string& text);

private:
    IUserDialogs& dialogs_;
    std::function<QWidget*()> dialogParent_;
    std::unique_ptr<TFrameStatus> status_;
    std::unique_ptr<TFrameIOPanels> ioPanels_;
    std::unique_ptr<TFrameRAMPanels> ramPanels_;
    std::unique_ptr<TCodeMemoryView> codeMemory_;
    std::unique_ptr<TCallStackView> callStack_;
    std::unique_ptr<TProfileView> profile_;
    TProgramText program_;
    std::unique_ptr<QWidget> uartPanel_;
    std::vector<TFrameUartTerminal*> terminals_;
    // The UARTs' TCP ports while the session's devices exist and it serves
    // them; the terminals show their state.
    std::unique_ptr<TUartBridges> uartBridges_;
    TPicoBlazeSimulator* simulator_ = nullptr;
    TSimulationSession* session_ = nullptr;
    std::set<std::string> shownThisRun_;
    TChangeMarks changes_;
};

} // namespace korvo
