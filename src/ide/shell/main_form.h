#pragma once

#include "common/core_kind.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;

namespace korvo {

class ISettingsStore;
class IUserDialogs;
class TActionList;
class TEditor;
class TEditorFactory;
class TIdleUpdater;
class TLogPane;
class TRecentFiles;

// The processor-independent part of the main window: the source panel above
// a splitter and the log pane, the status bar with its eight panels, the
// window state and recent files kept in the settings, and the New, Open,
// Close All, Exit and View commands.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(ISettingsStore& settings, IUserDialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    static constexpr int kStatusPanelCount = 8;
    static constexpr int kRecentItems = 5;
    static constexpr int kMinimumSourceHeight = 300;

    // Opens a file as a document, or brings it to the front when it is open
    // already (same name without regard to letter case); an empty name gives
    // a new untitled document.
    void OpenDocument(const QString& fileName);
    void ReadWindowSettings();
    void WriteWindowSettings();
    // Runs every command's update handler and refreshes the status bar.
    void UpdateCommands();

    TActionList& Actions() { return *actions_; }
    ISettingsStore& Settings() { return settings_; }
    IUserDialogs& UserDialogs() { return dialogs_; }
    TLogPane* LogPane() const { return SynEditLog; }
    QString StatusPanelText(int index) const;
    QMenu* RecentFilesMenu() const { return mnuRecent; }

    virtual TEditorFactory& Documents() = 0;
    virtual std::shared_ptr<TEditor> CreateDocument() = 0;

    QWidget* PanelSource = nullptr;
    QSplitter* Splitter = nullptr;
    TLogPane* SynEditLog = nullptr;
    std::array<QLabel*, kStatusPanelCount> StatusPanels{};
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
    bool event(QEvent* event) override;

    // Closes every document without questions and writes the settings, once.
    void ShutDown();

private:
    void OnSplitterMoved();

    ISettingsStore& settings_;
    IUserDialogs& dialogs_;
    std::unique_ptr<TActionList> actions_;
    std::unique_ptr<TIdleUpdater> idleUpdater_;
    QString hint_;
    QList<int> acceptedSizes_;
    bool splitterPlaced_ = false;
    bool shutDown_ = false;
};

} // namespace korvo
