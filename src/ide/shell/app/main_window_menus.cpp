// The commands, menus and tool bar of the main window.
#include "panels/simulation_panels.h"
#include "panels/uart_terminal.h"
#include "shell/app/help_window.h"
#include "shell/app/icons.h"
#include "shell/app/main_window.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/commands/core_selector.h"
#include "shell/commands/run_speed.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace korvo {

void TMainWindow::CreateCommands() {
    auto& actions = Actions();
    actViewCaptions = actions.AddCheckable(
        {"actViewCaptions", "Show Captions", "Show captions on toolbar", {}, {}},
        [this] { ShowCaptions(ToolBar->toolButtonStyle() == Qt::ToolButtonIconOnly); },
        [this](QAction& a) { a.setChecked(ToolBar->toolButtonStyle() != Qt::ToolButtonIconOnly); });
    actViewCoverage = actions.AddCheckable(
        {"actViewCoverage", "Coverage", "Colour executed and never executed lines", {}, {}},
        [this] {
            TDocumentSimulation::SetCoverageShown(!TDocumentSimulation::CoverageShown());
            for (int i = 0; i < Documents().Count(); ++i)
                Documents().Get(i)->Simulation().RepaintLineMarks();
        },
        [](QAction& a) { a.setChecked(TDocumentSimulation::CoverageShown()); });
    actViewHeat = actions.AddCheckable(
        {"actViewHeat", "Heat", "Colour lines by how often they ran since the last reset", {}, {}},
        [this] {
            TDocumentSimulation::SetHeatShown(!TDocumentSimulation::HeatShown());
            for (int i = 0; i < Documents().Count(); ++i)
                Documents().Get(i)->Simulation().RepaintLineMarks();
        },
        [](QAction& a) { a.setChecked(TDocumentSimulation::HeatShown()); });
    actFileOpenExample = actions.Add(
        {"actFileOpenExample", "Open &Example...", "Open an example program", {}, "file-open"},
        [this] { ExecuteOpenExample(); },
        [this](QAction& a) { a.setEnabled(!PreviewOn() && !examplesFolder_.isEmpty()); });
    actImport = actions.Add({"actImport", "Import", "Import a KCPSMBLE document", {}, "import"},
                            [this] { ExecuteImport(); });
    actExport = actions.Add(
        {"actExport", "Export to HTML", {}, {}, "export-html"}, [this] { ExecuteExport(); },
        [this](QAction& a) { a.setEnabled(Documents().ActiveDocument()); });
    actAbout = actions.Add({"actAbout", "&About", "Show About box", {}, "about"},
                           [this] { ShowAboutBox(); });
    actHelp = actions.Add(
        {"actHelp", "&Help", "Show help", QKeySequence(QKeySequence::HelpContents), "help"},
        [] { ShowManual(); });
    CreateViewCommands();
}

void TMainWindow::CreateViewCommands() {
    auto& actions = Actions();
    // The views of a simulation: each can be closed (a dock with its
    // button) and is shown again from the View menu while there is a
    // simulation to show.
    auto simulating = [this] { return Commands().SimulationPanels().Simulator() != nullptr; };
    auto view = [&](const char* name, const char* caption, const char* hint, QString viewName,
                    std::function<bool()> exists) {
        return actions.AddCheckable(
            {name, caption, hint, {}, {}},
            [this, viewName] {
                if (!closedViews_.remove(viewName)) closedViews_.insert(viewName);
                ShowPanelAreas();
                ShowSimulationViews(Commands().SimulationPanels().Simulator() != nullptr);
                // A view opened from the menu comes to the front of its place.
                if (auto* dock = findChild<QDockWidget*>(viewName); dock && dock->isVisible())
                    dock->raise();
            },
            [this, viewName, exists](QAction& a) {
                a.setEnabled(exists());
                a.setChecked(!closedViews_.contains(viewName));
            });
    };
    actViewCodeMemory =
        view("actViewCodeMemory", "Code &Memory", "Show the code memory of the simulation",
             QStringLiteral("CodeMemoryDock"), simulating);
    actViewCallStack =
        view("actViewCallStack", "Call &Stack", "Show the call stack of the simulation",
             QStringLiteral("CallStackDock"), simulating);
    actViewProfile = view("actViewProfile", "P&rofile",
                          "Show the instructions each routine of the simulation ran",
                          QStringLiteral("ProfileDock"), simulating);
    actViewIoPanels = view("actViewIoPanels", "Status and &I/O Panels",
                           "Show the status panel and the input and output ports",
                           QStringLiteral("SimulationPanelArea"),
                           [this] { return SimulationPanelArea->layout()->count() > 0; });
    actViewMemoryPanels =
        view("actViewMemoryPanels", "Memory &Panels",
             "Show the scratch pad, RAM and ROM of the simulation", QStringLiteral("MemoryPanels"),
             [this] { return !memoryPanel_.isNull(); });
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A dock closed with its own button stays closed until the View menu
    // opens it again.
    if (event->type() == QEvent::Close &&
        (watched == CodeMemoryDock || watched == CallStackDock || watched == ProfileDock)) {
        closedViews_.insert(watched->objectName());
        RequestUpdate();
    }
    return TMainWindowBase::eventFilter(watched, event);
}

void TMainWindow::FillUartViewMenu() {
    mnuViewUarts->clear();
    for (TFrameUartTerminal* terminal : Commands().SimulationPanels().UartTerminals()) {
        QString viewName = terminal->objectName();
        QAction* item = mnuViewUarts->addAction(terminal->Title());
        item->setCheckable(true);
        item->setChecked(!closedViews_.contains(viewName));
        connect(item, &QAction::triggered, this, [this, viewName](bool shown) {
            if (shown)
                closedViews_.remove(viewName);
            else
                closedViews_.insert(viewName);
            ShowPanelAreas();
        });
    }
}

void TMainWindow::CreateMenus() {
    auto& c = Commands();
    auto* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));
    auto* file = bar->addMenu(QStringLiteral("&File"));
    file->setToolTipsVisible(true);
    file->addActions({actFileNew, actFileOpen, actFileOpenExample});
    file->addMenu(mnuRecent);
    file->addSeparator();
    file->addActions({c.actFileSave, c.actFileSaveAs, c.actFileClose, actFileCloseAll});
    file->addSeparator();
    file->addAction(c.actFilePrint);
    file->addSeparator();
    file->addAction(actFileExit);
    file->addSeparator();
    file->addActions({actImport, actExport, c.actFilePreview});
    connect(file, &QMenu::aboutToShow, this,
            [this] { mnuRecent->menuAction()->setEnabled(RecentFiles().Count() > 0); });

    auto* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addActions({c.actEditUndo, c.actEditRedo});
    edit->addSeparator();
    edit->addActions(
        {c.actEditCut, c.actEditCopy, c.actEditPaste, c.actEditDelete, c.actEditSelectAll});
    edit->addSeparator();
    edit->addActions(
        {c.actSearchFind, c.actSearchFindNext, c.actSearchFindPrev, c.actSearchReplace});
    edit->addSeparator();
    edit->addActions({c.actGotoLine, c.actGotoDefinition});

    auto* view = bar->addMenu(QStringLiteral("&View"));
    view->addActions(
        {actViewStatusbar, actViewLogPane, actViewCaptions, actViewCoverage, actViewHeat});
    view->addSeparator();
    view->addActions({actViewCodeMemory, actViewCallStack, actViewProfile, actViewIoPanels,
                      actViewMemoryPanels});
    mnuViewUarts = view->addMenu(QStringLiteral("&UART Terminals"));
    mnuViewUarts->setObjectName(QStringLiteral("mnuViewUarts"));
    connect(mnuViewUarts, &QMenu::aboutToShow, this, &TMainWindow::FillUartViewMenu);
    connect(view, &QMenu::aboutToShow, this, [this] {
        mnuViewUarts->menuAction()->setEnabled(
            !Commands().SimulationPanels().UartTerminals().empty());
    });

    auto* settings = bar->addMenu(QStringLiteral("&Settings"));
    settings->addActions({c.actSettings, c.actEditor});
    settings->addSeparator();
    auto* cores = new QActionGroup(this);
    for (QAction* core : c.actCores) {
        cores->addAction(core);
        settings->addAction(core);
    }
    settings->addSeparator();
    settings->addAction(c.actTarget);

    auto* simulate = bar->addMenu(QStringLiteral("Si&mulate"));
    simulate->addAction(c.actSimulate);
    simulate->addSeparator();
    simulate->addActions({c.actReset, c.actRun, c.actStepOne, c.actStepOver, c.actGotoCursor,
                          c.actPause, c.actSetBreakpoint, c.actClearBreakpoints});
    simulate->addSeparator();
    simulate->addActions({c.actStepBack, c.actRunBack});
    simulate->addSeparator();
    simulate->addMenu(c.RunSpeed().CreateMenu(this));

    auto* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(actHelp);
    help->addSeparator();
    help->addAction(actAbout);
}

void TMainWindow::CreateToolBar() {
    auto& c = Commands();
    const QList<QList<QAction*>> groups = {
        {actFileNew, actFileOpen, c.actFileSave, c.actFileSaveAs, c.actFileClose, actFileExit},
        {c.actEditCut, c.actEditCopy, c.actEditPaste, c.actEditDelete, c.actFormat},
        {c.actEditUndo, c.actEditRedo},
        {c.actSearchFind, c.actSearchFindNext, c.actSearchFindPrev, c.actSearchReplace},
        {c.actFilePrint, c.actFilePreview},
        {c.actSimulate, c.actReset, c.actRun, c.actStepOne, c.actStepOver, c.actGotoCursor,
         c.actPause, c.actSetBreakpoint, c.actClearBreakpoints},
        {c.actStepBack, c.actRunBack},
    };
    // The core list comes first: a narrow window hides the tool bar's last
    // buttons behind its overflow arrow, and the core is what a user looks for.
    CoreSelector = new TCoreSelector(c.actCores, *ToolBar, *statusBar());
    for (int group = 0; group < groups.size(); ++group) {
        ToolBar->addSeparator();
        for (QAction* action : groups[group]) {
            ToolBar->addAction(action);
            if (auto* button = qobject_cast<QToolButton*>(ToolBar->widgetForAction(action)))
                button->setMinimumSize(31, 30);
        }
    }
    ToolBar->addWidget(c.RunSpeed().CreateToolBarWidget(ToolBar));
}

} // namespace korvo
