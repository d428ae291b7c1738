#pragma once

#include "base/user_dialogs.h"
#include "scratch_folder.h"
#include "settings/qt_settings_store.h"
#include "shell/search_state.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace korvo {
class TfrmWorkbookMain;
class TEditor;
} // namespace korvo

namespace korvo::test {

// A settings file in a fresh temporary folder, so that a test never touches
// the user's own settings.
class TTemporarySettings {
public:
    TTemporarySettings();
    QString FilePath() const { return QString::fromStdString(folder_.File("settings.ini")); }
    QString Folder() const { return QString::fromStdString(folder_.Path()); }
    TQtSettingsStore& Store() { return *store_; }
    // Writes pending values and opens the file again, as a new start would.
    TQtSettingsStore& Reopen();

private:
    TScratchFolder folder_;
    std::unique_ptr<TQtSettingsStore> store_;
};

// Dialogs that answer from scripts and record what was asked.
class TScriptedDialogs : public IUserDialogs {
public:
    TSaveAnswer AskSaveChanges(QWidget* parent, const QString& question) override;
    bool ChooseOpenFile(QWidget* parent, const QString& filter, QString& fileName) override;
    bool ChooseSaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                        QString& fileName) override;
    bool EditSearch(QWidget* parent, bool replace, TSearchState& state) override;
    TReplaceAnswer ConfirmReplace(QWidget* editor, const QRect& match,
                                  const QString& searchText) override;
    void EndReplace() override { ++ReplaceSessionsEnded; }
    void ShowError(QWidget* /*parent*/, const QString& message) override { Errors << message; }
    bool EnterValue(QWidget* parent, int address, std::int32_t& value) override;
    void ShowAbout(QWidget* /*parent*/) override { ++AboutBoxes; }
    bool EditSettings(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind,
                      ILog& log) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    bool ChoosePrintRange(QWidget* parent, QPrinter& printer, int pageCount) override;
    void Beep() override { ++Beeps; }
    bool AskLineNumber(QWidget*, int lineCount, int& line) override;

    // Answers, taken from the front; an empty queue answers No, cancels the
    // file dialogs and replaces every match.
    std::deque<TSaveAnswer> SaveAnswers;
    std::deque<QString> OpenFileNames;
    std::deque<QString> SaveFileNames;
    std::deque<TReplaceAnswer> ReplaceAnswers;
    // Edits the search state as the user would in the dialog; false cancels.
    std::function<bool(bool replace, TSearchState& state)> Search;
    std::function<bool(ISettingsStore& settings)> Settings;
    // Lines typed into the Go to Line dialog; an empty queue cancels it.
    std::deque<int> LineNumbers;
    // Texts typed into the value-entry dialog; an empty queue cancels it.
    std::deque<QString> ValueTexts;
    bool PrinterSetupAccepted = true;
    bool PrintAccepted = false;

    QStringList SaveQuestions;
    QStringList SaveFilters;
    QStringList OpenFilters;
    QStringList OpenStartNames; // the initial choice of each open dialog
    QStringList SearchTextsShown;
    QList<QRect> ReplaceMatches;
    QStringList ReplaceTexts;
    int ReplaceSessionsEnded = 0;
    QStringList Errors;
    // Address and value each value-entry dialog showed.
    QList<QPair<int, int>> ValuesAsked;
    int AboutBoxes = 0;
    int SettingsDialogs = 0;
    int PageCountOffered = 0;
    // The file and job name the print dialog was given.
    QString PrintFileProposed;
    QString PrintJobName;
    int Beeps = 0;
};

// Stores the current version as the last one started, so that no About box
// greets the test.
void MarkCurrentVersionSeen(ISettingsStore& settings);

// Writes bytes to a file; returns its full path.
QString WriteFile(const QString& folder, const QString& name, const std::string& bytes);
std::string ReadFile(const QString& path);

// Lets deferred deletions and posted events run, then updates the commands.
void Settle(TfrmWorkbookMain& window);

// A main window on temporary settings with scripted dialogs.
class TTestWindow {
public:
    // seen: the current version started before, so no About box comes up.
    explicit TTestWindow(const QStringList& files = {}, bool seen = true);
    ~TTestWindow();
    TfrmWorkbookMain& operator*() { return *window_; }
    TfrmWorkbookMain* operator->() { return window_.get(); }
    TfrmWorkbookMain& Window() { return *window_; }
    // The active document; fails the test when there is none.
    TEditor& Active();
    // Starts the window again on the same settings file.
    void Restart(const QStringList& files = {});
    void Close();

    TTemporarySettings Settings;
    TScriptedDialogs Dialogs;

private:
    std::unique_ptr<TfrmWorkbookMain> window_;
};

// The log pane's lines.
QStringList LogLines(TfrmWorkbookMain& window);

} // namespace korvo::test
