// Start-up to the first painted window: Swoop2 beside a bare Qt main window, each started as a
// new process and timed until it reports its first paint. Needs an X display; bench/startup.sh
// runs it under a private Xvfb.
//
//   bench_StartupBench [--swoop2 PATH] [benchmark options]
//   bench_StartupBench --bare-window LOG     (the bare window itself, started by the benchmark)

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

std::string g_self;
std::string g_swoop2;

// Reports the first paint of any widget of the window, the way Swoop2's log does.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const char* log) : m_log(QString::fromLocal8Bit(log)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_bPainted && event->type() == QEvent::Paint && watched->isWidgetType()) {
            m_bPainted = true;
            QFile file(m_log);
            if (file.open(QIODevice::WriteOnly | QIODevice::Append))
                file.write("painted\n");
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_log;
    bool m_bPainted = false;
};

int RunBareWindow(int argc, char** argv, const char* log) {
    QApplication app(argc, argv);
    FirstPaint report(log);
    app.installEventFilter(&report);
    QMainWindow window;
    window.setCentralWidget(new QWidget(&window));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}

// Starts the program and waits until its log says it has painted; the time is the iteration's.
void TimeFirstPaint(benchmark::State& state, const QString& program, QStringList arguments,
                    bool viaEnvironment) {
    QTemporaryDir dir;
    int run = 0;
    for (auto _ : state) {
        const QString log = dir.filePath(QStringLiteral("log%1").arg(run++));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        if (viaEnvironment)
            env.insert(QStringLiteral("SWOOP2_SHOWN_TEXT_LOG"), log);
        process.setProcessEnvironment(env);
        QStringList args = arguments;
        if (!viaEnvironment)
            args << log;
        QElapsedTimer timer;
        timer.start();
        process.start(program, args);
        bool painted = false;
        while (!painted && timer.elapsed() < 20000) {
            QFile file(log);
            if (file.open(QIODevice::ReadOnly))
                painted = file.readAll().contains("painted\n");
            if (!painted)
                QThread::usleep(200);
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        process.kill();
        process.waitForFinished(5000);
        if (!painted) {
            state.SkipWithError("the program did not paint within 20 s");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_BareQtWindow(benchmark::State& state) {
    TimeFirstPaint(state, QString::fromStdString(g_self), {QStringLiteral("--bare-window")}, false);
}

void BM_Swoop2(benchmark::State& state) {
    if (g_swoop2.empty() || !QFileInfo::exists(QString::fromStdString(g_swoop2))) {
        state.SkipWithError("no swoop2 program; pass --swoop2 PATH");
        return;
    }
    TimeFirstPaint(state, QString::fromStdString(g_swoop2), {}, true);
}

// A first start of each warms the file cache and the X server; then interleaved rounds, so
// that a change in the machine's load falls on both alike.
BENCHMARK(BM_BareQtWindow)->Name("warm-up/bare")->UseManualTime()->Iterations(2);
BENCHMARK(BM_Swoop2)->Name("warm-up/swoop2")->UseManualTime()->Iterations(2);
BENCHMARK(BM_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Swoop2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Swoop2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Swoop2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--bare-window") == 0)
        return RunBareWindow(argc, argv, argv[2]);
    g_self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toStdString();
    // By default the program built beside the benchmarks.
    g_swoop2 =
        QFileInfo(QString::fromStdString(g_self)).absolutePath().toStdString() + "/../swoop2";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--swoop2") == 0) {
            g_swoop2 = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
