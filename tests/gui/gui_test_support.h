#pragma once

// What the GUI tests share: temporary settings, scripted dialogs, a main
// window on both, table rows, and driving a simulation through the commands.
#include "base/user_dialogs.h"
#include "common/core_kind.h"
#include "common/text_file.h"
#include "panels/simulation_panels.h"
#include "scratch_folder.h"
#include "settings/qt_settings_store.h"
#include "shell/app/log_pane.h"
#include "shell/app/main_window.h"
#include "shell/commands/commands.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"
#include "shell/search/search_state.h"
#include "simulator/simulator.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <QtTest>
#include <QtWidgets>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

namespace korvo::test {

// The fixed-pitch family a test names wherever its result depends on the
// font: it comes with fonts-dejavu-core, which tools/deps.sh installs, so no
// machine maps it to another family.
inline constexpr const char* kTestFixedFamily = "DejaVu Sans Mono";

// A settings file in a fresh temporary folder, so that a test never touches
// the user's own settings.
class TTemporarySettings {
public:
    TTemporarySettings();
    QString FilePath() const { return QString::fromStdString(folder_.File("settings.ini")); }
    QString Folder() const { return QString::fromStdString(folder_.Path()); }
    // Writes the bytes into a file of the folder and returns its path.
    QString Write(const QString& name, const std::string& bytes) {
        return QString::fromStdString(folder_.Write(name.toStdString(), bytes));
    }
    TQtSettingsStore& Store() { return *store_; }
    // Writes pending values and opens the file again, as a new start would.
    TQtSettingsStore& Reopen();

private:
    TScratchFolder folder_;
    std::unique_ptr<TQtSettingsStore> store_;
};

// Answers in the order given; an empty queue gives otherwise.
template <typename T>
T TakeFront(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

// Dialogs that answer from scripts and record what was asked. An empty queue
// answers No, cancels the file dialogs and replaces every match.
class TScriptedDialogs : public IUserDialogs {
public:
    TSaveAnswer AskSaveChanges(QWidget*, const QString& question) override {
        SaveQuestions << question;
        return TakeFront(SaveAnswers, TSaveAnswer::No);
    }
    bool ChooseOpenFile(QWidget*, const QString&, QString& fileName) override {
        OpenStartNames << fileName;
        return !(fileName = TakeFront(OpenFileNames, QString())).isEmpty();
    }
    bool ChooseSaveFile(QWidget*, const QString&, const QString&, QString& fileName) override {
        ++SaveDialogs;
        return !(fileName = TakeFront(SaveFileNames, QString())).isEmpty();
    }
    // Search edits the state as the user would in the dialog; false cancels.
    bool EditSearch(QWidget*, bool, TSearchState& state) override {
        SearchTextsShown << state.SearchText;
        return Search && Search(state);
    }
    TReplaceAnswer ConfirmReplace(QWidget*, const QRect&, const QString&) override {
        ++ReplacesAsked;
        return TakeFront(ReplaceAnswers, TReplaceAnswer::Yes);
    }
    void EndReplace() override {}
    void ShowError(QWidget*, const QString& message) override { Errors << message; }
    // The value-entry dialog takes ValueTexts; an empty queue cancels it.
    bool EnterValue(QWidget* parent, int address, std::int32_t& value) override;
    void ShowAbout(QWidget*) override { ++AboutBoxes; }
    bool EditSettings(QWidget*, ISettingsStore& settings, TCoreKind, ILog&) override {
        return Settings && Settings(settings);
    }
    bool ChoosePrintRange(QWidget*, QPrinter& printer, int pageCount) override;
    void Beep() override { ++Beeps; }
    // The Go to Line dialog takes LineNumbers; an empty queue cancels it.
    bool AskLineNumber(QWidget*, int, int& line) override {
        return (line = TakeFront(LineNumbers, 0)) > 0;
    }

    std::deque<TSaveAnswer> SaveAnswers;
    std::deque<QString> OpenFileNames, SaveFileNames, ValueTexts;
    std::deque<TReplaceAnswer> ReplaceAnswers;
    std::deque<int> LineNumbers;
    std::function<bool(TSearchState& state)> Search;
    std::function<bool(ISettingsStore& settings)> Settings;

    QStringList SaveQuestions, OpenStartNames, SearchTextsShown, Errors;
    // The file and job name the print dialog was given.
    QString PrintFileProposed, PrintJobName;
    // Address and value each value-entry dialog showed.
    QList<QPair<int, int>> ValuesAsked;
    int SaveDialogs = 0, ReplacesAsked = 0, AboutBoxes = 0, PageCountOffered = 0, Beeps = 0;
};

inline std::string ReadFile(const QString& path) {
    return ReadFileBytes(path.toStdString());
}

// Lets deferred deletions and posted events run, then updates the commands.
void Settle(TMainWindow& window);

// A main window on temporary settings with scripted dialogs.
class TTestWindow {
public:
    // seen: the current version started before, so no About box comes up.
    explicit TTestWindow(const QStringList& files = {}, bool seen = true);
    ~TTestWindow();
    TMainWindow& operator*() { return *window_; }
    TMainWindow* operator->() { return window_.get(); }
    // The active document; fails the test when there is none.
    TDocument& Active();
    // Writes a file into the settings' folder, or reads one; the path of
    // the file written.
    QString File(const QString& name, const std::string& bytes) {
        return Settings.Write(name, bytes);
    }
    std::string Read(const QString& name) { return ReadFile(Settings.Folder() + '/' + name); }
    // A new untitled document holding the text.
    TDocument& New(const QString& text);
    // Starts the window again on the same settings file.
    void Restart(const QStringList& files = {});
    void Close();

    TTemporarySettings Settings;
    TScriptedDialogs Dialogs;

private:
    std::unique_ptr<TMainWindow> window_;
};

// The log pane's lines.
QStringList LogLines(TMainWindow& window);

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

// Table-driven tests: rows are tuples or structs whose first field is the
// row's name; the _data() function calls AddRows and the test takes its row
// with Row.
template <typename T>
const char* RowName(const T& row) {
    if constexpr (requires { row.Name; })
        return row.Name;
    else
        return std::get<0>(row);
}

template <typename T, std::size_t N>
void AddRows(const T (&rows)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i)
        QTest::newRow(RowName(rows[i])) << static_cast<int>(i);
}

template <typename T, std::size_t N>
const T& Row(const T (&rows)[N]) {
    return rows[*static_cast<int*>(QTest::qData("row", QMetaType::Int))];
}

// A text of CR LF lines.
std::string Lines(std::initializer_list<const char*> lines);

// Selects the core, opens the program as a file in the test's folder and
// presses F12; fails the test unless the program enters Simulate mode.
TDocument& StartSimulation(TTestWindow& window, const QString& name, const std::string& text,
                           TCoreKind core = TCoreKind::pbt3);

// Runs the commands' update handlers and triggers the command; false (and
// a warning) when it is disabled.
bool Press(TTestWindow& window, QAction* command);
void Step(TTestWindow& window, int times = 1);

// Calls what once, from inside the next yield after delay milliseconds of
// a run (timers fire in the yields' message processing).
void DuringRun(TTestWindow& window, int delayMilliseconds, std::function<void()> what);

TSimulationPanels& Panels(TTestWindow& window);
TPicoBlazeSimulator& Simulator(TTestWindow& window);
// Log lines added since the line count first.
QStringList LogSince(TTestWindow& window, int first);
int LogCount(TTestWindow& window);

} // namespace korvo::test
