#include "panels/simulation_panels.h"

#include "assembler/syn_picoblaze.h"
#include "base/user_dialogs.h"
#include "panels/call_stack_view.h"
#include "panels/code_memory_view.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_status.h"
#include "panels/profile_view.h"
#include "panels/uart_terminal.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"
#include "uart/uart_bridges.h"

#include <QHBoxLayout>

namespace korvo {

TSimulationPanels::TSimulationPanels(IUserDialogs& dialogs, std::function<QWidget*()> dialogParent)
    : dialogs_(dialogs), dialogParent_(std::move(dialogParent)),
      status_(std::make_unique<TFrameStatus>()),
      ioPanels_(std::make_unique<TFrameIOPanels>(dialogs)),
      ramPanels_(std::make_unique<TFrameRAMPanels>(dialogs)),
      codeMemory_(std::make_unique<TCodeMemoryView>()),
      callStack_(std::make_unique<TCallStackView>()), profile_(std::make_unique<TProfileView>()),
      uartPanel_(std::make_unique<QWidget>()) {
    uartPanel_->setObjectName(QStringLiteral("UartPanel"));
    auto* layout = new QHBoxLayout(uartPanel_.get());
    layout->setContentsMargins(2, 0, 0, 0);
    ioPanels_->OnMessage = [this](const std::string& text) { ShowMessage(text); };
}

TSimulationPanels::~TSimulationPanels() {
    // The panels may sit in the main window: take them out before they go.
    for (QWidget* panel :
         {static_cast<QWidget*>(status_.get()), static_cast<QWidget*>(ioPanels_.get()),
          static_cast<QWidget*>(ramPanels_.get()), static_cast<QWidget*>(codeMemory_.get()),
          static_cast<QWidget*>(callStack_.get()), static_cast<QWidget*>(profile_.get()),
          uartPanel_.get()})
        panel->setParent(nullptr);
    Free();
}

void TSimulationPanels::Build(TSimulationSession& session, const TSynPicoBlaze& parser,
                              int maxIoVertical, int maxMemoryHorizontal) {
    Free();
    session_ = &session;
    simulator_ = &session.Simulator();
    session.IO().OnMessage = [this](const std::string& text) { ShowMessage(text); };
    status_->Bind(simulator_);
    for (int n = 0; n < simulator_->RegisterCount(); ++n)
        status_->SetRegisterName(n, QString::fromStdString(parser.RegisterName(n)));
    ioPanels_->Build(session.IO(), maxIoVertical);
    ramPanels_->BuildPanels(*simulator_, session.IO(), maxMemoryHorizontal);
    codeMemory_->Bind(simulator_, program_);
    callStack_->Bind(simulator_, program_);
    profile_->Bind(simulator_, program_);
    if (session.UartTcpBridge() && !session.IO().UARTs().empty()) {
        uartBridges_ = std::make_unique<TUartBridges>(session.IO(), session.Log());
        uartBridges_->Listen();
    }
    for (const auto& uart : session.IO().UARTs()) {
        auto* terminal = new TFrameUartTerminal(
            *uart, uartBridges_ ? uartBridges_->Of(*uart) : nullptr, uartPanel_.get());
        uartPanel_->layout()->addWidget(terminal);
        terminals_.push_back(terminal);
    }
}

void TSimulationPanels::Free() {
    changes_.Clear();
    ioPanels_->DestroyAllFrames();
    ramPanels_->FreePanels();
    codeMemory_->Bind(nullptr, {});
    callStack_->Bind(nullptr, {});
    profile_->Bind(nullptr, {});
    for (TFrameUartTerminal* terminal : terminals_)
        delete terminal;
    terminals_.clear();
    uartBridges_.reset();
    status_->Bind(nullptr);
    simulator_ = nullptr;
    session_ = nullptr;
    shownThisRun_.clear();
}

bool TSimulationPanels::IsBound(const TSimulator& simulator) const {
    return simulator_ && static_cast<const TSimulator*>(simulator_) == &simulator;
}

bool TSimulationPanels::HasIOFrames() const {
    return ioPanels_->FrameCount() > 0;
}

bool TSimulationPanels::HasMemoryFrames() const {
    return ramPanels_->RowsUsed() > 0;
}

void TSimulationPanels::RunStarted() {
    shownThisRun_.clear();
    status_->EditsToRegisters();
}

void TSimulationPanels::Refresh() {
    if (!simulator_) return;
    status_->Refresh();
    ioPanels_->Refresh();
    ramPanels_->Refresh();
    codeMemory_->Refresh();
    callStack_->Refresh();
    profile_->Refresh();
    for (TFrameUartTerminal* terminal : terminals_)
        terminal->Pump();
}

void TSimulationPanels::ProgramReset() {
    profile_->Restart();
    Refresh();
}

void TSimulationPanels::TimerTick() {
    status_->TimerTick();
}

namespace {
TShownValues ShownValues(const TFrameStatus& status, const TFrameIOPanels& io,
                         const TFrameRAMPanels& memory) {
    TShownValues values;
    status.ListValues(values);
    io.ListValues(values);
    memory.ListValues(values);
    return values;
}
} // namespace

void TSimulationPanels::BeginChanges() {
    if (simulator_) changes_.Remember(ShownValues(*status_, *ioPanels_, *ramPanels_));
}

void TSimulationPanels::EndChanges() {
    if (!simulator_) return;
    Refresh();
    changes_.Mark(ShownValues(*status_, *ioPanels_, *ramPanels_));
}

void TSimulationPanels::ShowMessage(const std::string& text) {
    if (simulator_ && simulator_->IsRunning() && !shownThisRun_.insert(text).second) return;
    dialogs_.ShowError(dialogParent_ ? dialogParent_() : nullptr, QString::fromStdString(text));
}

} // namespace korvo
