#include "gui_test_support.h"

#include "common/settings.h"
#include "korvo_version.h"
#include "panels/ram_rom_entry_form.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>

namespace korvo::test {

TTemporarySettings::TTemporarySettings()
    : store_(std::make_unique<TQtSettingsStore>(FilePath().toStdString())) {}

TQtSettingsStore& TTemporarySettings::Reopen() {
    store_.reset();
    store_ = std::make_unique<TQtSettingsStore>(FilePath().toStdString());
    return *store_;
}

TSaveAnswer TScriptedDialogs::AskSaveChanges(QWidget*, const QString& question) {
    SaveQuestions << question;
    if (SaveAnswers.empty()) return TSaveAnswer::No;
    TSaveAnswer answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

bool TScriptedDialogs::ChooseOpenFile(QWidget*, const QString& filter, QString& fileName) {
    OpenFilters << filter;
    OpenStartNames << fileName;
    if (OpenFileNames.empty()) return false;
    fileName = OpenFileNames.front();
    OpenFileNames.pop_front();
    return !fileName.isEmpty();
}

bool TScriptedDialogs::ChooseSaveFile(QWidget*, const QString& filter, const QString&,
                                      QString& fileName) {
    SaveFilters << filter;
    if (SaveFileNames.empty()) return false;
    fileName = SaveFileNames.front();
    SaveFileNames.pop_front();
    return !fileName.isEmpty();
}

bool TScriptedDialogs::EditSearch(QWidget*, bool replace, TSearchState& state) {
    SearchTextsShown << state.SearchText;
    return Search ? Search(replace, state) : false;
}

TReplaceAnswer TScriptedDialogs::ConfirmReplace(QWidget*, const QRect& match,
                                                const QString& searchText) {
    ReplaceMatches << match;
    ReplaceTexts << searchText;
    if (ReplaceAnswers.empty()) return TReplaceAnswer::Yes;
    TReplaceAnswer answer = ReplaceAnswers.front();
    ReplaceAnswers.pop_front();
    return answer;
}

bool TScriptedDialogs::EnterValue(QWidget*, int address, std::int32_t& value) {
    ValuesAsked << qMakePair(address, static_cast<int>(value));
    if (ValueTexts.empty()) return false;
    value = TRAMROMEntryForm::ByteValue(ValueTexts.front());
    ValueTexts.pop_front();
    return true;
}

bool TScriptedDialogs::EditSettings(QWidget*, ISettingsStore& settings, TCoreKind, ILog&) {
    ++SettingsDialogs;
    return Settings ? Settings(settings) : false;
}

bool TScriptedDialogs::SetUpPrinter(QWidget*, QPrinter&) {
    return PrinterSetupAccepted;
}

bool TScriptedDialogs::ChoosePrintRange(QWidget*, QPrinter& printer, int pageCount) {
    PageCountOffered = pageCount;
    PrintFileProposed = printer.outputFileName();
    PrintJobName = printer.docName();
    return PrintAccepted;
}

bool TScriptedDialogs::AskLineNumber(QWidget*, int, int& line) {
    if (LineNumbers.empty()) return false;
    line = LineNumbers.front();
    LineNumbers.pop_front();
    return true;
}

void MarkCurrentVersionSeen(ISettingsStore& settings) {
    WriteString(settings, "Window", "LastVersion", kProductVersion);
}

QString WriteFile(const QString& folder, const QString& name, const std::string& bytes) {
    QString path = QDir(folder).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return QFileInfo(path).absoluteFilePath();
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

void Settle(TfrmWorkbookMain& window) {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    window.UpdateCommands();
}

TTestWindow::TTestWindow(const QStringList& files, bool seen) {
    if (seen) MarkCurrentVersionSeen(Settings.Store());
    window_ = std::make_unique<TfrmWorkbookMain>(Settings.Store(), Dialogs, files);
    Settle(*window_);
}

TTestWindow::~TTestWindow() = default;

TEditor& TTestWindow::Active() {
    TEditor* editor = window_->Documents().ActiveEditor();
    if (!editor) qFatal("no active document");
    return *editor;
}

void TTestWindow::Restart(const QStringList& files) {
    Close();
    Settings.Reopen();
    window_ = std::make_unique<TfrmWorkbookMain>(Settings.Store(), Dialogs, files);
    Settle(*window_);
}

void TTestWindow::Close() {
    if (!window_) return;
    window_->close();
    window_.reset();
    Settings.Store().Flush();
}

QStringList LogLines(TfrmWorkbookMain& window) {
    QStringList lines;
    for (int i = 0; i < window.LogPane()->LineCount(); ++i)
        lines << window.LogPane()->LineText(i);
    return lines;
}

} // namespace korvo::test
