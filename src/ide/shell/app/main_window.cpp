#include "shell/app/main_window.h"

#include "base/theme.h"
#include "base/user_dialogs.h"
#include "korvo_version.h"
#include "panels/call_stack_view.h"
#include "panels/code_memory_view.h"
#include "panels/profile_view.h"
#include "panels/simulation_panels.h"
#include "panels/uart_terminal.h"
#include "platform/data_folders.h"
#include "shell/app/help_window.h"
#include "shell/app/icons.h"
#include "shell/app/log_pane.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/commands/core_selector.h"
#include "shell/commands/run_speed.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/printing.h"
#include "shell/document/source_editor.h"
#include "shell/settings/ide_settings.h"

#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvo {

namespace {

// A frameless scroll area around panels; they scroll up and down as needed,
// and sideways as horizontal says.
QScrollArea* PanelScrollArea(QWidget* panels, Qt::ScrollBarPolicy horizontal) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(horizontal);
    area->setWidget(panels);
    area->hide();
    return area;
}

// Document tabs at least 100 pixels wide, so that short names line up.
class TDocumentTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        return {std::max(100, size.width()), size.height()};
    }
};

class TDocumentTabs : public QTabWidget {
public:
    explicit TDocumentTabs(QWidget* parent) : QTabWidget(parent) {
        setTabBar(new TDocumentTabBar(this));
        setTabPosition(QTabWidget::South);
        setDocumentMode(true);
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(true);
        tabBar()->setFocusPolicy(Qt::NoFocus);
        tabBar()->setMouseTracking(true);
        setObjectName(QStringLiteral("PageControlEdit"));
    }
};

} // namespace

TMainWindow::TMainWindow(ISettingsStore& settings, IUserDialogs& dialogs, const QStringList& files,
                         QWidget* parent)
    : TMainWindowBase(settings, dialogs, parent),
      DocumentManager(std::make_unique<TDocumentList>()),
      examplesFolder_(ExamplesFolder(QCoreApplication::applicationDirPath())) {
    setObjectName(QStringLiteral("frmWorkbookMain"));
    setWindowIcon(ApplicationIcon());
    ApplyTheme(settings::LoadThemeChoice(settings));
    CreateLayout();
    CreateBaseCommands();
    CommandsDataModule = std::make_unique<TCommandsDataModule>(*this, Actions(), settings, dialogs);
    DocumentManager->SetHost(*CommandsDataModule);
    DocumentManager->OnChange = [this] { RequestUpdate(); };
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateSimulationDocks();
    ReadWindowSettings();
    ReopenLastSession();
    for (const QString& file : files)
        OpenDocument(file);
    UpdateCommands();
}

TMainWindow::~TMainWindow() {
    ShutDown();
    // The documents go first, while the services they use still exist.
    delete PageControlEdit;
    PageControlEdit = nullptr;
}

ILog& TMainWindow::Log() {
    return *SynEditLog;
}

void TMainWindow::CreateLayout() {
    // Above the documents and the views of a simulation docked beside them.
    ToolBar = new QToolBar(QStringLiteral("ToolBar"), this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    addToolBar(Qt::TopToolBarArea, ToolBar);
    ToolBar->setIconSize(QSize(24, 24));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto* edge = new QFrame(PanelSource);
    edge->setFrameShape(QFrame::HLine);
    edge->setFrameShadow(QFrame::Sunken);

    SourceStack = new QStackedWidget(PanelSource);
    PageControlEdit = new TDocumentTabs(SourceStack);
    SourceStack->addWidget(PageControlEdit);
    connect(PageControlEdit, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* document = DocumentManager->DocumentOfPage(PageControlEdit->widget(index)))
            document->Activate();
    });

    // The panels of a simulation scroll, so that they never make the
    // window grow: the status and I/O panels up and down beside the
    // documents, the memory panels and UART terminals below them in a part
    // of their own that the user can make higher.
    RAMDockPanel = new QWidget;
    RAMDockPanel->setObjectName(QStringLiteral("RAMDockPanel"));
    auto* dockLayout = new QHBoxLayout(RAMDockPanel);
    dockLayout->setContentsMargins(0, 0, 0, 0);
    RAMDockPanel->hide();
    RAMDockScroll = PanelScrollArea(RAMDockPanel, Qt::ScrollBarAsNeeded);
    RAMDockScroll->setObjectName(QStringLiteral("RAMDockScroll"));

    SimulationPanelArea = new QWidget;
    SimulationPanelArea->setObjectName(QStringLiteral("SimulationPanelArea"));
    auto* areaLayout = new QVBoxLayout(SimulationPanelArea);
    areaLayout->setContentsMargins(2, 0, 0, 0);
    areaLayout->setSpacing(2);
    SimulationPanelArea->hide();
    SimulationPanelScroll = PanelScrollArea(SimulationPanelArea, Qt::ScrollBarAlwaysOff);
    SimulationPanelScroll->setObjectName(QStringLiteral("SimulationPanelScroll"));

    auto* documents = new QWidget;
    auto* documentsRow = new QHBoxLayout(documents);
    documentsRow->setContentsMargins(0, 0, 0, 0);
    documentsRow->setSpacing(0);
    documentsRow->addWidget(SourceStack, 1);
    documentsRow->addWidget(SimulationPanelScroll);

    SourceSplitter = new QSplitter(Qt::Vertical, PanelSource);
    SourceSplitter->setObjectName(QStringLiteral("SourceSplitter"));
    SourceSplitter->addWidget(documents);
    SourceSplitter->addWidget(RAMDockScroll);
    SourceSplitter->setChildrenCollapsible(false);
    SourceSplitter->setStretchFactor(0, 1);
    SourceSplitter->setStretchFactor(1, 0);

    auto* layout = new QVBoxLayout(PanelSource);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edge);
    layout->addWidget(SourceSplitter, 1);
}

void TMainWindow::CreateSimulationDocks() {
    auto& panels = Commands().SimulationPanels();
    auto dock = [this](const QString& title, const QString& name, QWidget* view) {
        auto* widget = new QDockWidget(title, this);
        widget->setObjectName(name);
        widget->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                                Qt::BottomDockWidgetArea);
        widget->setWidget(view);
        addDockWidget(Qt::RightDockWidgetArea, widget);
        widget->hide();
        return widget;
    };
    CodeMemoryDock =
        dock(QStringLiteral("Code Memory"), QStringLiteral("CodeMemoryDock"), &panels.CodeMemory());
    CallStackDock =
        dock(QStringLiteral("Call Stack"), QStringLiteral("CallStackDock"), &panels.CallStack());
    splitDockWidget(CodeMemoryDock, CallStackDock, Qt::Vertical);
    // Behind the call stack, which it shares its place with.
    ProfileDock = dock(QStringLiteral("Profile"), QStringLiteral("ProfileDock"), &panels.Profile());
    tabifyDockWidget(CallStackDock, ProfileDock);
    for (QDockWidget* view : {CodeMemoryDock, CallStackDock, ProfileDock})
        view->installEventFilter(this);
    resizeDocks({CodeMemoryDock}, {panels.CodeMemory().sizeHint().width()}, Qt::Horizontal);
    connect(&panels.CodeMemory(), &TCodeMemoryView::SourceLineRequested, this,
            &TMainWindowBase::ShowActiveSourceLine);
    connect(&panels.CallStack(), &TCallStackView::SourceLineRequested, this,
            &TMainWindowBase::ShowActiveSourceLine);
    connect(&panels.Profile(), &TProfileView::SourceLineRequested, this,
            &TMainWindowBase::ShowActiveSourceLine);
}

void TMainWindow::ShowSimulationViews(bool show) {
    bool shown = show && !SynEditPrintPreview;
    bool wasShown = CodeMemoryDock->isVisible() || CallStackDock->isVisible();
    for (QDockWidget* dock : {CodeMemoryDock, CallStackDock, ProfileDock})
        dock->setVisible(shown && !closedViews_.contains(dock->objectName()));
    if (shown && !wasShown) CallStackDock->raise();
    // Wide enough for the marks and the instructions, but a narrow window
    // leaves most of its width to the documents.
    if (shown && !wasShown)
        resizeDocks({CodeMemoryDock},
                    {std::min(CodeMemoryDock->widget()->sizeHint().width(), width() / 4)},
                    Qt::Horizontal);
}

void TMainWindow::ShowCaptions(bool on) {
    ToolBar->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

std::shared_ptr<TDocument> TMainWindow::CreateDocument() {
    if (!DocumentManager) return nullptr;
    return DocumentManager->CreateTabDocument(PageControlEdit, *SynEditLog, CoreKind());
}

TRecentFiles& TMainWindow::RecentFiles() {
    return Commands().RecentFiles();
}

bool TMainWindow::ExecuteOpenDialog(QString& fileName) {
    return Commands().ExecuteOpenDialog(fileName);
}

TCoreKind TMainWindow::CoreKind() const {
    return CommandsDataModule->CoreKind();
}

TCoreKind TMainWindow::ModeCoreKind() const {
    return CommandsDataModule->ShownCoreKind();
}

void TMainWindow::SetCoreKind(TCoreKind kind) {
    CommandsDataModule->SetCoreKind(kind);
}

void TMainWindow::ShowAboutBox() {
    UserDialogs().ShowAbout(this);
}

bool TMainWindow::PreviewOn() const {
    auto* file = DocumentManager->ActiveFileCommands();
    return file && file->Preview();
}

QString TMainWindow::WindowCaption() const {
    QString title = QString::fromUtf8(kApplicationTitle);
    if (auto* document = DocumentManager->ActiveDocument()) {
        QString name = document->FileName();
        if (name.contains('*'))
            name = document->Title();
        else if (!name.isEmpty())
            name = QFileInfo(name).absoluteFilePath();
        return QStringLiteral("  ") + title + QStringLiteral("  ") + name;
    }
    QString version = QString::fromUtf8(kProductVersion);
    if (!version.isEmpty())
        return QStringLiteral("  ") + title + QStringLiteral(" (version ") + version + ')';
    return QStringLiteral("  ") + title;
}

void TMainWindow::ExecuteOpenExample() {
    // The open dialog starts in the examples folder (a name ending in "/").
    QString fileName = examplesFolder_ + '/';
    if (!ExecuteOpenDialog(fileName)) return;
    QFileInfo chosen(fileName);
    if (chosen.canonicalPath() != examplesFolder_) {
        OpenDocument(fileName);
        return;
    }
    // The installed examples may not be written to, and assembling one
    // writes its output files beside it: the user works on copies.
    QString folder = UserExamplesFolder();
    QString failure;
    int copied = CopyMissingFiles(examplesFolder_, folder, failure);
    if (copied < 0) {
        SynEditLog->Failure(failure.toStdString());
        OpenDocument(fileName);
        return;
    }
    if (copied > 0) SynEditLog->Message(("Copied the examples to " + folder).toStdString());
    QString copy = QDir(folder).filePath(chosen.fileName());
    Commands().RememberDialogFolder(copy);
    OpenDocument(copy);
}

void TMainWindow::ExecuteImport() {
    QString fileName;
    if (!ExecuteOpenDialog(fileName)) return;
    fileName = QFileInfo(fileName).absoluteFilePath();
    if (auto document = CreateDocument()) {
        document->OpenFile(fileName);
        document->ConvertKcpsmSource();
    }
}

void TMainWindow::ExecuteExport() {
    auto* document = DocumentManager->Active();
    if (!document) return;
    QString fileName;
    if (!document->FileName().isEmpty()) {
        QFileInfo info(document->FileName());
        fileName = info.absolutePath() + '/' + info.completeBaseName() + QStringLiteral(".htm");
    }
    if (!Commands().ExecuteSaveDialog(fileName,
                                      QStringLiteral("HTML Document (*.htm,*.html)|*.htm;*.html"),
                                      QStringLiteral("htm")))
        return;
    document->ExportHtml(QFileInfo(fileName).absoluteFilePath());
}

void TMainWindow::ShowPreviewPane(TPrintEngine& engine) {
    HidePreviewPane();
    SynEditPrintPreview = new QPrintPreviewWidget(&engine.Printer(), SourceStack);
    SynEditPrintPreview->setObjectName(QStringLiteral("SynEditPrintPreview"));
    connect(SynEditPrintPreview, &QPrintPreviewWidget::paintRequested, this,
            [&engine](QPrinter* printer) { engine.PrintOn(*printer); });
    SynEditPrintPreview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    SynEditPrintPreview->setZoomFactor(0.75);
    SourceStack->addWidget(SynEditPrintPreview);
    SourceStack->setCurrentWidget(SynEditPrintPreview);
    SynEditPrintPreview->updatePreview();
    SynEditPrintPreview->setCurrentPage(1);
    ShowPanelAreas();
    ShowSimulationViews(false);
}

void TMainWindow::HidePreviewPane() {
    SourceStack->setCurrentWidget(PageControlEdit);
    if (SynEditPrintPreview) {
        SourceStack->removeWidget(SynEditPrintPreview);
        delete SynEditPrintPreview;
        SynEditPrintPreview = nullptr;
    }
    ShowPanelAreas();
    ShowSimulationViews(Commands().SimulationPanels().Simulator() != nullptr);
}

void TMainWindow::ShowPanelAreas() {
    bool preview = SynEditPrintPreview != nullptr;
    auto open = [this](const QString& viewName) { return !closedViews_.contains(viewName); };
    bool below = false;
    if (memoryPanel_) {
        memoryPanel_->setVisible(open(QStringLiteral("MemoryPanels")));
        below = below || open(QStringLiteral("MemoryPanels"));
    }
    if (uartPanel_) {
        bool anyTerminal = false;
        for (TFrameUartTerminal* terminal : Commands().SimulationPanels().UartTerminals()) {
            terminal->setVisible(open(terminal->objectName()));
            anyTerminal = anyTerminal || open(terminal->objectName());
        }
        uartPanel_->setVisible(anyTerminal);
        below = below || anyTerminal;
    }
    bool memoryShown = !preview && below;
    bool wasShown = !RAMDockScroll->isHidden();
    RAMDockPanel->setVisible(memoryShown);
    RAMDockScroll->setVisible(memoryShown);
    bool panelsShown = !preview && SimulationPanelArea->layout()->count() > 0 &&
                       open(QStringLiteral("SimulationPanelArea"));
    SimulationPanelArea->setVisible(panelsShown);
    SimulationPanelScroll->setVisible(panelsShown);
    if (panelsShown) {
        // As wide as the panels with a scroll bar beside them: only their
        // height scrolls.
        SimulationPanelArea->adjustSize();
        SimulationPanelScroll->setFixedWidth(
            SimulationPanelArea->sizeHint().width() +
            SimulationPanelScroll->verticalScrollBar()->sizeHint().width());
    }
    if (memoryShown && !wasShown) {
        // The memory panels get the height they ask for, up to a third of
        // what the documents and they share.
        QList<int> sizes = SourceSplitter->sizes();
        int total = sizes.value(0) + sizes.value(1);
        int wanted = RAMDockPanel->sizeHint().height() +
                     RAMDockScroll->horizontalScrollBar()->sizeHint().height();
        int memory = std::min(wanted, total / 3);
        if (total > 0) SourceSplitter->setSizes({total - memory, memory});
    }
    KeepLogPaneHeight();
}

void TMainWindow::DockSimulationPanels(QWidget* status, QWidget* io, QWidget* memory,
                                       QWidget* terminals) {
    UndockSimulationPanels();
    auto* area = static_cast<QVBoxLayout*>(SimulationPanelArea->layout());
    if (status) area->addWidget(status, 0);
    if (io) area->addWidget(io, 1);
    if (status && !io) area->addStretch(1);
    if (memory) RAMDockPanel->layout()->addWidget(memory);
    if (terminals) static_cast<QHBoxLayout*>(RAMDockPanel->layout())->addWidget(terminals, 1);
    for (QWidget* panel : {status, io, memory, terminals})
        if (panel) {
            panel->show();
            dockedPanels_ << panel;
        }
    memoryPanel_ = memory;
    uartPanel_ = terminals;
    ShowPanelAreas();
}

void TMainWindow::UndockSimulationPanels() {
    for (const QPointer<QWidget>& panel : std::as_const(dockedPanels_))
        if (panel) {
            panel->hide();
            panel->setParent(nullptr);
        }
    dockedPanels_.clear();
    memoryPanel_ = nullptr;
    uartPanel_ = nullptr;
    for (QLayout* layout : {SimulationPanelArea->layout(), RAMDockPanel->layout()})
        while (QLayoutItem* item = layout->takeAt(0))
            delete item;
    ShowPanelAreas();
}

} // namespace korvo
