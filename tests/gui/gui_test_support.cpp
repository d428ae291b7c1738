#include "gui_test_support.h"

#include "common/settings.h"
#include "korvo_version.h"
#include "panels/ram_rom_entry_form.h"

#include <QPrinter>

namespace korvo::test {

TTemporarySettings::TTemporarySettings()
    : store_(std::make_unique<TQtSettingsStore>(FilePath().toStdString())) {}

TQtSettingsStore& TTemporarySettings::Reopen() {
    store_.reset();
    store_ = std::make_unique<TQtSettingsStore>(FilePath().toStdString());
    return *store_;
}

bool TScriptedDialogs::EnterValue(QWidget*, int address, std::int32_t& value) {
    ValuesAsked << qMakePair(address, static_cast<int>(value));
    if (ValueTexts.empty()) return false;
    value = TRAMROMEntryForm::ByteValue(TakeFront(ValueTexts, QString()));
    return true;
}

bool TScriptedDialogs::ChoosePrintRange(QWidget*, QPrinter& printer, int pageCount) {
    PageCountOffered = pageCount;
    PrintFileProposed = printer.outputFileName();
    PrintJobName = printer.docName();
    return false;
}

void Settle(TMainWindow& window) {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    window.UpdateCommands();
}

TTestWindow::TTestWindow(const QStringList& files, bool seen) {
    // The current version started before: no About box greets the test.
    if (seen) WriteString(Settings.Store(), "Window", "LastVersion", kProductVersion);
    window_ = std::make_unique<TMainWindow>(Settings.Store(), Dialogs, files);
    Settle(*window_);
}

TTestWindow::~TTestWindow() = default;

TDocument& TTestWindow::Active() {
    TDocument* editor = window_->Documents().Active();
    if (!editor) qFatal("no active document");
    return *editor;
}

TDocument& TTestWindow::New(const QString& text) {
    window_->actFileNew->trigger();
    Active().TextControl()->setText(text);
    Active().SetCaretPos({1, 1});
    window_->UpdateCommands();
    return Active();
}

void TTestWindow::Restart(const QStringList& files) {
    Close();
    Settings.Reopen();
    window_ = std::make_unique<TMainWindow>(Settings.Store(), Dialogs, files);
    Settle(*window_);
}

void TTestWindow::Close() {
    if (!window_) return;
    window_->close();
    window_.reset();
    Settings.Store().Flush();
}

QStringList LogLines(TMainWindow& window) {
    QStringList lines;
    for (int i = 0; i < window.LogPane()->LineCount(); ++i)
        lines << window.LogPane()->LineText(i);
    return lines;
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

TDocument& StartSimulation(TTestWindow& window, const QString& name, const std::string& text,
                           TCoreKind core) {
    window->Commands().CoreAction(core)->trigger();
    window->OpenDocument(window.File(name, text));
    TDocument& document = window.Active();
    Press(window, window->Commands().actSimulate);
    if (document.Mode() != dmSimulate)
        qFatal("the test program did not assemble:\n%s", qPrintable(LogLines(*window).join('\n')));
    return document;
}

namespace {
bool Running(TTestWindow& window) {
    TDocument* document = window->Documents().Active();
    return document && document->Simulator() && document->Simulator()->IsRunning();
}
} // namespace

bool Press(TTestWindow& window, QAction* command) {
    window->UpdateCommands();
    bool enabled = command->isEnabled();
    if (!enabled) qWarning("%s is disabled", qPrintable(command->objectName()));
    bool running = Running(window);
    command->trigger();
    // A run goes on from the event loop: a command that starts one is done
    // when it ends.
    QElapsedTimer waited;
    waited.start();
    while (!running && Running(window) && waited.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window->UpdateCommands();
    return enabled;
}

void Step(TTestWindow& window, int times) {
    for (int i = 0; i < times; ++i)
        Press(window, window->Commands().actStepOne);
}

void DuringRun(TTestWindow& window, int delayMilliseconds, std::function<void()> what) {
    QTimer::singleShot(delayMilliseconds, &*window, std::move(what));
}

TSimulationPanels& Panels(TTestWindow& window) {
    return window->Commands().SimulationPanels();
}

TPicoBlazeSimulator& Simulator(TTestWindow& window) {
    TPicoBlazeSimulator* simulator = window.Active().Simulator();
    if (!simulator) qFatal("the active document has no simulator");
    return *simulator;
}

int LogCount(TTestWindow& window) {
    return window->LogPane()->LineCount();
}

QStringList LogSince(TTestWindow& window, int first) {
    return LogLines(*window).mid(first);
}

} // namespace korvo::test
