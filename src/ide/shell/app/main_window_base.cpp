#include "shell/app/main_window_base.h"

#include "common/log.h"
#include "common/settings_layout.h"
#include "korvo_version.h"
#include "shell/app/log_pane.h"
#include "shell/app/recent_files.h"
#include "shell/app/status_bar_panel.h"
#include "shell/commands/action_list.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"
#include "shell/settings/ide_settings.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace korvo {

namespace {
constexpr int kPanelWidths[TMainWindowBase::kStatusPanelCount] = {150, 75,  75,  120,
                                                                  120, 100, 100, 500};

// Names that differ only in letter case name the same document, unless both
// are files of their own (on file systems that tell letter case apart).
bool SameDocumentName(const QString& open, const QString& wanted) {
    if (open.compare(wanted, Qt::CaseInsensitive) != 0) return false;
    if (open == wanted) return true;
    QFileInfo first(open);
    QFileInfo second(wanted);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return true;
}

} // namespace

TMainWindowBase::TMainWindowBase(ISettingsStore& settings, IUserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs),
      actions_(std::make_unique<TActionList>(this)) {
    resize(982, 644);

    PanelSource = new QWidget(this);
    PanelSource->setObjectName(QStringLiteral("PanelSource"));
    SynEditLog = new TLogPane(this);
    SynEditLog->setMinimumHeight(24);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->addWidget(PanelSource);
    Splitter->addWidget(SynEditLog);
    Splitter->setHandleWidth(4);
    Splitter->setChildrenCollapsible(false);
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 0);
    Splitter->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: #008080; }"));
    connect(Splitter, &QSplitter::splitterMoved, this, &TMainWindowBase::OnSplitterMoved);
    setCentralWidget(Splitter);

    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < kStatusPanelCount; ++i) {
        // The caret, mode and simulation texts keep their room; the hint or
        // mode text and the stack give way first.
        auto* panel = new TStatusBarPanel(kPanelWidths[i],
                                          i == 1 || i == 2 ? Qt::AlignHCenter : Qt::AlignLeft,
                                          i > 0 && i + 1 < kStatusPanelCount, bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        bar->addWidget(panel, i + 1 < kStatusPanelCount ? 0 : 1);
        StatusPanels[i] = panel;
    }

    idleUpdater_ = std::make_unique<TIdleUpdater>([this] { UpdateCommands(); }, this);
    connect(SynEditLog, &TLogPane::SourceLineRequested, this,
            &TMainWindowBase::ShowActiveSourceLine);
}

void TMainWindowBase::ShowActiveSourceLine(int line) {
    if (auto* document = Documents().Active()) {
        document->SetCaretPos({line, 1});
        if (auto* text = document->TextControl()) text->setFocus();
    }
}

TMainWindowBase::~TMainWindowBase() = default;

void TMainWindowBase::CreateBaseCommands() {
    auto& actions = *actions_;
    actFileNew = actions.Add(
        {"actFileNew", "&New", "New Document", QKeySequence(Qt::CTRL | Qt::Key_N), "file-new"},
        [this] { OpenDocument(QString()); }, [this](QAction& a) { a.setEnabled(!PreviewOn()); });
    actFileOpen = actions.Add(
        {"actFileOpen", "&Open...", "Open File", QKeySequence(Qt::CTRL | Qt::Key_O), "file-open"},
        [this] {
            QString fileName;
            if (ExecuteOpenDialog(fileName)) OpenDocument(fileName);
        },
        [this](QAction& a) { a.setEnabled(!PreviewOn()); });
    actFileCloseAll = actions.Add(
        {"actFileCloseAll", "Close All Fi&les", "Close all documents",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F4), "file-close-all"},
        [this] { Documents().CloseAll(); },
        [this](QAction& a) { a.setEnabled(Documents().Count() > 0); });
    actFileExit =
        actions.Add({"actFileExit", "E&xit", "Exit", QKeySequence(Qt::ALT | Qt::Key_F4), "exit"},
                    [this] { close(); });
    actViewStatusbar = actions.AddCheckable(
        {"actViewStatusbar", "Show Status Bar", "Show Statusbar", {}, {}},
        [this] { statusBar()->setVisible(statusBar()->isHidden()); },
        [this](QAction& a) { a.setChecked(!statusBar()->isHidden()); });
    actViewLogPane = actions.AddCheckable(
        {"actViewLogPane", "Show Log Pane", "Show log", {}, {}},
        [this] { SynEditLog->setVisible(SynEditLog->isHidden()); },
        [this](QAction& a) { a.setChecked(!SynEditLog->isHidden()); });

    mnuRecent = new QMenu(QStringLiteral("&Recent Files"), this);
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    mnuRecent->menuAction()->setStatusTip(QStringLiteral("Recently opened files"));
    mnuRecent->setToolTipsVisible(true);
    for (int i = 0; i < kRecentItems; ++i) {
        miFileMRU[i] = mnuRecent->addAction(QString());
        miFileMRU[i]->setObjectName(QStringLiteral("miFileMRU%1").arg(i + 1));
        connect(miFileMRU[i], &QAction::triggered, this,
                [this, i] { OpenDocument(RecentFiles().Get(i)); });
    }
    connect(mnuRecent, &QMenu::aboutToShow, this, &TMainWindowBase::FillRecentFilesMenu);
}

void TMainWindowBase::FillRecentFilesMenu() {
    for (int i = 0; i < kRecentItems; ++i) {
        QString fileName = RecentFiles().Get(i);
        miFileMRU[i]->setVisible(!fileName.isEmpty());
        QString caption = fileName;
        miFileMRU[i]->setText(caption.replace('&', QLatin1String("&&")));
    }
}

void TMainWindowBase::OpenDocument(const QString& name) {
    QString fileName = name.isEmpty() ? QString() : QFileInfo(name).absoluteFilePath();
    if (!fileName.isEmpty()) {
        RecentFiles().Remove(fileName);
        auto& documents = Documents();
        for (int i = documents.Count() - 1; i >= 0; --i) {
            auto document = documents.Get(i);
            if (SameDocumentName(document->FileName(), fileName)) {
                if (auto* text = document->TextControl()) {
                    if (auto* page = document->TabPage())
                        if (auto* tabs =
                                qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget()))
                            tabs->setCurrentWidget(page);
                    document->Activate();
                    text->setFocus();
                }
                RequestUpdate();
                return;
            }
        }
    }
    if (auto document = CreateDocument()) {
        document->OpenFile(fileName);
        if (auto* text = document->TextControl()) text->setFocus();
    }
    RequestUpdate();
}

void TMainWindowBase::ReadWindowSettings() {
    const ISettingsStore& settings = settings_;
    settings::TWindowSettings window = settings::LoadWindowSettings(settings);
    // The About box greets the first start of every new version.
    if (window.LastVersion != kProductVersion)
        QTimer::singleShot(0, this, [this] { ShowAboutBox(); });
    setGeometry(window.Left, window.Top, window.Width, window.Height);
    if (window.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
    statusBar()->setVisible(window.ShowStatusbar);
    SynEditLog->setVisible(window.ShowLogPane);
    // Adding puts a name first, so the oldest goes in first.
    std::vector<std::string> files = settings::LoadRecentFiles(settings);
    for (auto file = files.rbegin(); file != files.rend(); ++file)
        RecentFiles().Add(QString::fromStdString(*file));
    std::string failure;
    SetCoreKind(settings::LoadCoreKind(settings, &failure));
    if (!failure.empty()) SynEditLog->Failure(failure);
}

void TMainWindowBase::WriteWindowSettings() {
    settings::TWindowSettings window;
    window.LastVersion = kProductVersion;
    QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (!normal.isValid()) normal = geometry();
    window.Left = normal.left();
    window.Top = normal.top();
    window.Width = normal.width();
    window.Height = normal.height();
    window.Maximized = isMaximized();
    window.ShowStatusbar = !statusBar()->isHidden();
    window.ShowLogPane = !SynEditLog->isHidden();
    settings::StoreWindowSettings(settings_, window);
    std::vector<std::string> files;
    for (const QString& file : RecentFiles().Files())
        files.push_back(file.toStdString());
    settings::StoreRecentFiles(settings_, files);
    settings::StoreCoreKind(settings_, CoreKind());
    settings_.Flush();
}

void TMainWindowBase::UpdateCommands() {
    actions_->UpdateAll();
    UpdateStatusBar();
}

void TMainWindowBase::RequestUpdate() {
    idleUpdater_->Request();
}

QString TMainWindowBase::HintOrMode() const {
    if (!hint_.isEmpty()) return hint_;
    TCoreKind core = ModeCoreKind();
    if (!IsCoreKind(core)) return {};
    std::string_view caption = CoreDescription(core).ModeCaption;
    return QStringLiteral("Mode: ") +
           QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void TMainWindowBase::UpdateStatusBar() {
    auto setText = [](TStatusBarPanel* panel, const QString& text) { panel->setText(text); };
    setText(StatusPanels[0], QStringLiteral(" ") + HintOrMode());
    auto* document = Documents().ActiveDocument();
    for (int i = 1; i < kStatusPanelCount; ++i)
        setText(StatusPanels[i], document ? document->StatusText(i) : QString());
    QString caption = WindowCaption();
    if (windowTitle() != caption) setWindowTitle(caption);
}

QString TMainWindowBase::StatusPanelText(int index) const {
    return index >= 0 && index < kStatusPanelCount ? StatusPanels[index]->text() : QString();
}

bool TMainWindowBase::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        hint_ = static_cast<QStatusTipEvent*>(event)->tip();
        StatusPanels[0]->setText(QStringLiteral(" ") + HintOrMode());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainWindowBase::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitIntoScreen();
    KeepLogPaneHeight();
    RequestUpdate();
}

void TMainWindowBase::FitIntoScreen() {
    QScreen* screen = this->screen();
    if (!screen || isMaximized() || isFullScreen()) return;
    QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    if (available.contains(frame)) return;
    // The settings of a larger screen, or of a smaller scale factor: the
    // frame shrinks to the screen and moves onto it.
    QSize border = frame.size() - size();
    QSize client = size().boundedTo(available.size() - border);
    resize(client.expandedTo(minimumSizeHint().boundedTo(client)));
    frame = frameGeometry();
    QPoint topLeft(std::clamp(frame.left(), available.left(),
                              std::max(available.left(), available.right() + 1 - frame.width())),
                   std::clamp(frame.top(), available.top(),
                              std::max(available.top(), available.bottom() + 1 - frame.height())));
    move(topLeft);
}

void TMainWindowBase::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    KeepLogPaneHeight();
}

void TMainWindowBase::KeepLogPaneHeight() {
    if (!SynEditLog->isVisibleTo(this)) return;
    // The splitter takes its size from the window's layout first.
    if (auto* layout = this->layout()) layout->activate();
    QList<int> sizes = Splitter->sizes();
    int total = sizes.value(0) + sizes.value(1);
    int sourceMinimum =
        std::max(PanelSource->minimumSizeHint().height(), PanelSource->minimumHeight());
    int log =
        std::max(SynEditLog->minimumHeight(), std::min(logPaneHeight_, total - sourceMinimum));
    if (total > 0 && sizes.value(1) != log) Splitter->setSizes({total - log, log});
}

void TMainWindowBase::OnSplitterMoved() {
    QList<int> sizes = Splitter->sizes();
    // The source area never shrinks to kMinimumSourceHeight pixels or less
    // by a move of the splitter.
    if (sizes.value(0) + Splitter->handleWidth() > kMinimumSourceHeight)
        logPaneHeight_ = sizes.value(1);
    KeepLogPaneHeight();
    SynEditLog->viewport()->update();
}

void TMainWindowBase::closeEvent(QCloseEvent* event) {
    if (!shutDown_ && !Documents().CanCloseAll()) {
        event->ignore();
        return;
    }
    ShutDown();
    event->accept();
}

void TMainWindowBase::WriteSession() {
    settings::TSession session;
    auto& documents = Documents();
    for (int i = 0; i < documents.Count(); ++i) {
        auto document = documents.Get(i);
        QString name = document->FileName();
        if (name.isEmpty() || name.contains('*') || !QFileInfo::exists(name)) continue;
        if (document.get() == documents.Active())
            session.Active = static_cast<std::int32_t>(session.Files.size());
        session.Files.push_back(QFile::encodeName(name).toStdString());
    }
    settings::StoreSession(settings_, session);
}

void TMainWindowBase::ReopenLastSession() {
    if (!settings::LoadReopenFiles(settings_)) return;
    settings::TSession session = settings::LoadSession(settings_);
    QString active;
    for (std::size_t i = 0; i < session.Files.size(); ++i) {
        QString name = QFile::decodeName(QByteArray::fromStdString(session.Files[i]));
        if (!QFileInfo(name).isFile()) continue;
        OpenDocument(name);
        if (static_cast<std::int32_t>(i) == session.Active) active = name;
    }
    if (!active.isEmpty()) OpenDocument(active);
}

void TMainWindowBase::ShutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    // Hidden first: the documents' simulations end on the way out, and a
    // window still shown would be laid out and painted again for each panel
    // and view they take away.
    hide();
    WriteSession();
    Documents().CloseAll(false);
    WriteWindowSettings();
}

} // namespace korvo
