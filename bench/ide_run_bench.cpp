// How the IDE runs a program. A run of an endless loop in the window (20 ms
// running, 10 ms sleeping, then a yield in which the window works) against
// the same program as `korvo sim` runs it (the same simulation session, no
// sleeps, no window): the IDE should keep at least 60 % of that speed.
// During the run the status bar must repaint, and a Pause that becomes due
// must end the run, within 50 ms. Runs on the platform QT_QPA_PLATFORM names
// (offscreen when it is not set; xcb under xvfb-run for a real X server).

#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"
#include "common/log.h"
#include "common/settings.h"
#include "common/text_file.h"
#include "korvo_version.h"
#include "settings/qt_settings_store.h"
#include "shell/app/main_window.h"
#include "shell/app/status_bar_panel.h"
#include "shell/commands/commands.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"
#include "silent_dialogs.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace korvo {
namespace {

// An endless loop that also lights LEDs, so that port events and the LED
// panel take their part.
const std::vector<std::string> kEndlessLoop = {"leds    DSOUT $01", "loop:   ADD   s0, 1",
                                               "        ADDC  s1, 0", "        OUT   s1, leds",
                                               "        JUMP  loop"};

class TNullLog : public ILog {
public:
    void AddLine(TLogSeverity, const std::string&) override {}
};

// Instructions per second of the program run as `korvo sim` runs it.
double KorvoSimSpeed(const std::string& fileName, std::int64_t instructions) {
    TSynPicoBlaze parser;
    auto created = CreateSimulator(TCoreKind::pbt3);
    TPicoBlazeSimulator& simulator = *created;
    TNullLog log;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, &simulator, log, settings, nullptr};
    std::vector<std::string> listing;
    if (!AssembleSource(context, fileName, kEndlessLoop, listing)) return 0;
    TSimulationSession session(simulator, log, &settings);
    TNoSleepRunClock clock;
    simulator.SetRunClock(clock);
    simulator.SetInstructionLimit(instructions);
    simulator.Start();
    QElapsedTimer timer;
    timer.start();
    simulator.RunLoop();
    return static_cast<double>(simulator.InstructionCount()) * 1e9 /
           static_cast<double>(timer.nsecsElapsed());
}

// Paint times of a widget.
class TPaintLog : public QObject {
public:
    explicit TPaintLog(const QElapsedTimer& clock) : clock_(clock) {}
    std::vector<qint64> Times;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) Times.push_back(clock_.elapsed());
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
};

void BM_IdeRunOfAnEndlessLoop(benchmark::State& state) {
    QTemporaryDir folder;
    TQtSettingsStore settings(folder.filePath(QStringLiteral("settings.ini")).toStdString());
    WriteString(settings, "Window", "LastVersion", kProductVersion);
    WriteInteger(settings, "Options", "Korvo", 3);
    QString file = folder.filePath(QStringLiteral("endless.psm"));
    WriteTextLines(file.toStdString(), kEndlessLoop);

    TSilentDialogs dialogs;
    TMainWindow window(settings, dialogs, {file});
    window.resize(982, 644);
    window.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    TDocument& document = *window.Documents().Active();
    window.UpdateCommands();
    window.Commands().actSimulate->trigger();
    if (document.Mode() != dmSimulate) {
        state.SkipWithError("the program did not assemble");
        return;
    }
    TPicoBlazeSimulator& simulator = *document.Simulator();
    QElapsedTimer clock;
    clock.start();
    TPaintLog paints(clock);
    window.StatusPanels[3]->installEventFilter(&paints);

    const int runMilliseconds = static_cast<int>(state.range(0));
    double instructions = 0, seconds = 0, worstLatency = 0, totalLatency = 0, korvoSim = 0;
    qint64 worstPaintGap = 0;
    int runs = 0;
    for (auto _ : state) {
        // korvo sim's speed next to each run, so that the load of the
        // machine at the time weighs on both alike.
        state.PauseTiming();
        korvoSim += KorvoSimSpeed(file.toStdString(), 200'000'000);
        state.ResumeTiming();
        window.UpdateCommands();
        window.Commands().actReset->trigger();
        window.UpdateCommands();
        // Pauses due at different phases of the run's rhythm.
        const int due = runMilliseconds + 7 * runs;
        qint64 started = clock.elapsed();
        QTimer::singleShot(due, Qt::PreciseTimer, &window, [&] {
            window.UpdateCommands();
            window.Commands().actPause->trigger();
        });
        paints.Times.clear();
        window.Commands().actRun->trigger();
        while (simulator.IsRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        qint64 ended = clock.elapsed();
        double latency = static_cast<double>(ended - started - due);
        worstLatency = std::max(worstLatency, latency);
        totalLatency += latency;
        instructions += static_cast<double>(simulator.InstructionCount());
        seconds += static_cast<double>(ended - started) / 1000.0;
        qint64 previous = started;
        for (qint64 time : paints.Times) {
            worstPaintGap = std::max(worstPaintGap, time - previous);
            previous = time;
        }
        worstPaintGap = std::max(worstPaintGap, ended - previous);
        ++runs;
    }
    double ideSpeed = instructions / seconds;
    korvoSim /= runs;
    state.counters["ide_Minstr_per_s"] = ideSpeed / 1e6;
    state.counters["korvo_sim_Minstr_per_s"] = korvoSim / 1e6;
    state.counters["ratio_percent"] = 100.0 * ideSpeed / korvoSim;
    state.counters["pause_latency_ms_mean"] = totalLatency / runs;
    state.counters["pause_latency_ms_max"] = worstLatency;
    state.counters["repaint_gap_ms_max"] = static_cast<double>(worstPaintGap);
}
void BM_KorvoSimOfAnEndlessLoop(benchmark::State& state) {
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("endless.psm"));
    WriteTextLines(file.toStdString(), kEndlessLoop);
    double speed = 0;
    for (auto _ : state)
        speed += KorvoSimSpeed(file.toStdString(), state.range(0));
    state.counters["Minstr_per_s"] = speed / static_cast<double>(state.iterations()) / 1e6;
}
BENCHMARK(BM_KorvoSimOfAnEndlessLoop)
    ->Arg(400'000'000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_IdeRunOfAnEndlessLoop)
    ->Arg(2000)
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
