// How quickly the IDE reacts: start-up to the first paint of the main window
// with a program open, opening a 10,000-line source until it is painted,
// typing into it, F12 (assemble and enter Simulate mode) on a program of
// 1,000 instructions, and closing the window in Simulate mode. Each should
// stay well under 300 ms; the close under 200 ms. Runs on the
// platform QT_QPA_PLATFORM names (offscreen when it is not set).

#include "common/settings.h"
#include "common/text_file.h"
#include "korvo_version.h"
#include "settings/qt_settings_store.h"
#include "shell/app/main_window.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"
#include "silent_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace korvo {
namespace {

// Sets a flag when the watched widget paints.
class TPaintWatch : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) Painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void WaitForPaint(QWidget& widget) {
    TPaintWatch watch;
    widget.installEventFilter(&watch);
    widget.update();
    QElapsedTimer timer;
    timer.start();
    while (!watch.Painted && timer.elapsed() < 5000)
        QCoreApplication::processEvents();
    widget.removeEventFilter(&watch);
}

struct TWorkspace {
    QTemporaryDir Folder;
    std::unique_ptr<TQtSettingsStore> Settings;
    TSilentDialogs Dialogs;

    TWorkspace()
        : Settings(std::make_unique<TQtSettingsStore>(
              Folder.filePath(QStringLiteral("settings.ini")).toStdString())) {
        WriteString(*Settings, "Window", "LastVersion", kProductVersion);
        WriteInteger(*Settings, "Options", "Korvo", 3);
    }

    QString Write(const QString& name, const std::vector<std::string>& lines) {
        QString path = Folder.filePath(name);
        WriteTextLines(path.toStdString(), lines);
        return path;
    }
};

std::vector<std::string> LargeSource(int lineCount) {
    std::vector<std::string> lines;
    lines.reserve(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        switch (i % 5) {
        case 0: lines.push_back("; block " + std::to_string(i / 5) + " of the large source"); break;
        case 1:
            lines.push_back("label_" + std::to_string(i) + ":  LOAD s0, $" +
                            std::to_string(10 + i % 80) + "  ; load");
            break;
        case 2: lines.push_back("        ADD s0, s1"); break;
        case 3: lines.push_back("        OUT s0, $01         ; show it"); break;
        default: lines.push_back(""); break;
        }
    }
    return lines;
}

// 1,000 instructions for PicoBlaze 3 with labels, equates and comments.
std::vector<std::string> ThousandInstructions() {
    std::vector<std::string> lines{"; 1000 instructions", "leds   DSOUT $01", "count  EQU   100",
                                   ""};
    for (int i = 0; i < 1000; ++i) {
        std::string label = i % 10 == 0 ? "step_" + std::to_string(i / 10) + ": " : "        ";
        switch (i % 5) {
        case 0: lines.push_back(label + "LOAD s0, count  ; start a round"); break;
        case 1: lines.push_back(label + "SUB s0, 1"); break;
        case 2: lines.push_back(label + "OUT s0, leds"); break;
        case 3: lines.push_back(label + "COMP s0, $20"); break;
        default:
            lines.push_back(label + "JUMP NZ, step_" + std::to_string((i / 10 + 1) % 100));
            break;
        }
    }
    return lines;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
    TWorkspace workspace;
    QStringList files{QStringLiteral(KORVO_EXAMPLES_DIR "/walking_leds.psm")};
    for (auto _ : state) {
        auto window = std::make_unique<TMainWindow>(*workspace.Settings, workspace.Dialogs, files);
        window->show();
        WaitForPaint(*window);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_Open10000LineSource(benchmark::State& state) {
    TWorkspace workspace;
    QString file = workspace.Write("large.psm", LargeSource(10000));
    TMainWindow window(*workspace.Settings, workspace.Dialogs);
    window.show();
    WaitForPaint(window);
    for (auto _ : state) {
        window.OpenDocument(file);
        WaitForPaint(*window.Documents().Active()->TextControl()->viewport());
        state.PauseTiming();
        window.Documents().CloseAll();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open10000LineSource)->Unit(benchmark::kMillisecond);

void BM_TypeInto10000LineSource(benchmark::State& state) {
    TWorkspace workspace;
    QString file = workspace.Write("large.psm", LargeSource(10000));
    TMainWindow window(*workspace.Settings, workspace.Dialogs, {file});
    window.show();
    auto* text = window.Documents().Active()->TextControl();
    WaitForPaint(*text->viewport());
    text->setCursorPosition(5000, 0);
    for (auto _ : state) {
        text->insert(QStringLiteral("x"));
        WaitForPaint(*text->viewport());
    }
}
BENCHMARK(BM_TypeInto10000LineSource)->Unit(benchmark::kMillisecond);

void BM_SimulateThousandInstructions(benchmark::State& state) {
    TWorkspace workspace;
    QString file = workspace.Write("thousand.psm", ThousandInstructions());
    TMainWindow window(*workspace.Settings, workspace.Dialogs, {file});
    window.show();
    TDocument& document = *window.Documents().Active();
    WaitForPaint(*document.TextControl()->viewport());
    for (auto _ : state) {
        document.SetMode(dmSimulate);
        WaitForPaint(*document.TextControl()->viewport());
        state.PauseTiming();
        if (document.Mode() != dmSimulate) state.SkipWithError("the program did not assemble");
        document.SetMode(dmEdit);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SimulateThousandInstructions)->Unit(benchmark::kMillisecond);

// Closing the window (the user's Exit) with the program of 1,000 instructions
// and the control panel demo in Simulate mode, until the window is gone; the
// simulations end on the way.
void BM_CloseInSimulateMode(benchmark::State& state) {
    TWorkspace workspace;
    QStringList files{QStringLiteral(KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm"),
                      workspace.Write("thousand.psm", ThousandInstructions())};
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TMainWindow>(*workspace.Settings, workspace.Dialogs, files);
        window->show();
        TDocument& document = *window->Documents().Active();
        document.SetMode(dmSimulate);
        WaitForPaint(*document.TextControl()->viewport());
        if (document.Mode() != dmSimulate) state.SkipWithError("the program did not assemble");
        state.ResumeTiming();
        window->close();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_CloseInSimulateMode)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
