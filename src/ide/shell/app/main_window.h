#pragma once

#include "shell/app/main_window_base.h"
#include "shell/app/workbench.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <memory>

class QDockWidget;
class QPrintPreviewWidget;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;

namespace korvo {

class TCommandsDataModule;
class TCoreSelector;
class TPrintEngine;

// The main window: document tabs at the bottom of the source panel, the
// print preview in their place, the dock panel for memory views, the tool
// bar and menus, Open Example, Import, Export to HTML, About, and the window
// caption.
class TMainWindow : public TMainWindowBase, public IWorkbench {
    Q_OBJECT
public:
    // Creates the command module, reads the window settings and opens every
    // file of files as a document.
    TMainWindow(ISettingsStore& settings, IUserDialogs& dialogs, const QStringList& files = {},
                QWidget* parent = nullptr);
    ~TMainWindow() override;

    // IWorkbench
    QWidget* Window() override { return this; }
    ILog& Log() override;
    TDocumentList& Documents() override { return *DocumentManager; }
    void OpenDocument(const QString& fileName) override { TMainWindowBase::OpenDocument(fileName); }
    std::shared_ptr<TDocument> CreateDocument() override;
    void ShowPreviewPane(TPrintEngine& engine) override;
    void HidePreviewPane() override;
    void RepaintStatus() override { UpdateCommands(); }
    void RepaintStatusBar() override { UpdateStatusBar(); }
    void DockSimulationPanels(QWidget* status, QWidget* io, QWidget* memory,
                              QWidget* terminals = nullptr) override;
    void UndockSimulationPanels() override;
    void ShowSimulationViews(bool show) override;

    TCommandsDataModule& Commands() { return *CommandsDataModule; }
    QTabWidget* PageControlEdit = nullptr;
    QStackedWidget* SourceStack = nullptr;
    QPrintPreviewWidget* SynEditPrintPreview = nullptr;
    // Below the documents: the memory panels and the UART terminals, which
    // scroll in RAMDockScroll, below SourceSplitter's handle.
    QWidget* RAMDockPanel = nullptr;
    QScrollArea* RAMDockScroll = nullptr;
    QSplitter* SourceSplitter = nullptr;
    // Right of the documents: the status panel above the I/O panels,
    // scrolling up and down in SimulationPanelScroll.
    QWidget* SimulationPanelArea = nullptr;
    QScrollArea* SimulationPanelScroll = nullptr;
    QToolBar* ToolBar = nullptr;
    // Right of everything while a program is simulated: the code memory and
    // the call stack.
    QDockWidget* CodeMemoryDock = nullptr;
    QDockWidget* CallStackDock = nullptr;
    QDockWidget* ProfileDock = nullptr;
    TCoreSelector* CoreSelector = nullptr;

    QAction* actViewCaptions = nullptr;
    QAction* actViewCoverage = nullptr;
    QAction* actViewHeat = nullptr;
    QAction* actFileOpenExample = nullptr;
    QAction* actImport = nullptr;
    QAction* actExport = nullptr;
    QAction* actAbout = nullptr;
    QAction* actHelp = nullptr;
    QAction* actViewCodeMemory = nullptr;
    QAction* actViewCallStack = nullptr;
    QAction* actViewProfile = nullptr;
    QAction* actViewIoPanels = nullptr;
    QAction* actViewMemoryPanels = nullptr;
    // One item per UART terminal of the simulation.
    QMenu* mnuViewUarts = nullptr;

protected:
    TRecentFiles& RecentFiles() override;
    bool ExecuteOpenDialog(QString& fileName) override;
    TCoreKind CoreKind() const override;
    TCoreKind ModeCoreKind() const override;
    void SetCoreKind(TCoreKind kind) override;
    void ShowAboutBox() override;
    bool PreviewOn() const override;
    QString WindowCaption() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateLayout();
    void CreateCommands();
    void CreateViewCommands();
    void FillUartViewMenu();
    void CreateMenus();
    void CreateToolBar();
    void CreateSimulationDocks();
    void ExecuteOpenExample();
    void ExecuteImport();
    void ExecuteExport();
    void ShowCaptions(bool on);
    // Shows the panel areas that hold panels, unless a preview is on.
    void ShowPanelAreas();

    std::unique_ptr<TDocumentList> DocumentManager;
    std::unique_ptr<TCommandsDataModule> CommandsDataModule;
    QList<QPointer<QWidget>> dockedPanels_;
    QPointer<QWidget> memoryPanel_;
    QPointer<QWidget> uartPanel_;
    // The object names of the views the user closed.
    QSet<QString> closedViews_;
    QString examplesFolder_;
};

} // namespace korvo
