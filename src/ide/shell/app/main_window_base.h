#pragma once

#include "common/core_kind.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QMenu;
class QSplitter;
class QStatusBar;

namespace korvo {

class ISettingsStore;
class IUserDialogs;
class TActionList;
class TDocument;
class TDocumentList;
class TIdleUpdater;
class TLogPane;
class TRecentFiles;
class TStatusBarPanel;

// The processor-independent part of the main window: the source panel above
// a splitter and the log pane, the status bar with its eight panels, the
// window state and recent files kept in the settings, and the New, Open,
// Close All, Exit and View commands.
class TMainWindowBase : public QMainWindow {
    Q_OBJECT
public:
    TMainWindowBase(ISettingsStore& settings, IUserDialogs& dialogs, QWidget* parent = nullptr);
    ~TMainWindowBase() override;

    static constexpr int kStatusPanelCount = 8;
    static constexpr int kRecentItems = 5;
    static constexpr int kMinimumSourceHeight = 300;
    static constexpr int kLogPaneHeight = 120;

    // Opens a file as a document, or brings it to the front when it is open
    // already (same name without regard to letter case); an empty name gives
    // a new untitled document.
    void OpenDocument(const QString& fileName);
    void ReadWindowSettings();
    void WriteWindowSettings();
    // Puts the active document's caret on a line (from 1) and the focus there.
    void ShowActiveSourceLine(int line);
    // Opens the files that were open when the program last ended, with the
    // one that was in front in front again (when the Misc page says so).
    void ReopenLastSession();
    // Runs every command's update handler and refreshes the status bar.
    void UpdateCommands();

    TActionList& Actions() { return *actions_; }
    ISettingsStore& Settings() { return settings_; }
    IUserDialogs& UserDialogs() { return dialogs_; }
    TLogPane* LogPane() const { return SynEditLog; }
    QString StatusPanelText(int index) const;
    QMenu* RecentFilesMenu() const { return mnuRecent; }

    virtual TDocumentList& Documents() = 0;
    virtual std::shared_ptr<TDocument> CreateDocument() = 0;

    QWidget* PanelSource = nullptr;
    QSplitter* Splitter = nullptr;
    TLogPane* SynEditLog = nullptr;
    std::array<TStatusBarPanel*, kStatusPanelCount> StatusPanels{};
    std::array<QAction*, kRecentItems> miFileMRU{};
    QMenu* mnuRecent = nullptr;

    QAction* actFileNew = nullptr;
    QAction* actFileOpen = nullptr;
    QAction* actFileCloseAll = nullptr;
    QAction* actFileExit = nullptr;
    QAction* actViewStatusbar = nullptr;
    QAction* actViewLogPane = nullptr;

protected:
    virtual TRecentFiles& RecentFiles() = 0;
    virtual bool ExecuteOpenDialog(QString& fileName) = 0;
    virtual TCoreKind CoreKind() const = 0;
    // The core the status bar names: the active document's.
    virtual TCoreKind ModeCoreKind() const { return CoreKind(); }
    virtual void SetCoreKind(TCoreKind kind) = 0;
    virtual void ShowAboutBox() = 0;
    // True while a print preview replaces the document tabs.
    virtual bool PreviewOn() const = 0;
    // Refreshes status panels and the window caption.
    virtual void UpdateStatusBar();
    virtual QString WindowCaption() const = 0;
    // Panel 0: the hint being shown, else the core's mode text.
    QString HintOrMode() const;
    void RequestUpdate();

    void CreateBaseCommands();
    void FillRecentFilesMenu();

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Gives the log pane the height it should have (120 pixels, or what the
    // user dragged it to) as far as the source area leaves room for it.
    void KeepLogPaneHeight();
    // Keeps the window's frame on the screen's available area.
    void FitIntoScreen();
    bool event(QEvent* event) override;

    // Closes every document without questions and writes the settings, once.
    void ShutDown();
    // The files of the open documents, in tab order, for the next start.
    void WriteSession();

private:
    void OnSplitterMoved();

    ISettingsStore& settings_;
    IUserDialogs& dialogs_;
    std::unique_ptr<TActionList> actions_;
    std::unique_ptr<TIdleUpdater> idleUpdater_;
    QString hint_;
    int logPaneHeight_ = kLogPaneHeight;
    bool shutDown_ = false;
};

} // namespace korvo
