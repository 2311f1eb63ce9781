#include "BenchDocuments.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/CWinApp.h"
#include "platform/ole/AfxOleInit.h"
#include "view/CSwoop2View.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// What keeping a recovery copy costs the window while a point is dragged, and how far the copy
// on the disk lags behind the drawing. A drag of five seconds at 60 steps a second, through the
// document, the view and the window, as in bench_ViewBench's point drag step, with the event
// loop run between steps as the program's own would: once a second the keeper forks the writer
// of the copy. Each row's time is the mean of the steps; the counters give the longest step
// (the one that forks, which copies the process's page tables) in the thread's own time and on
// the clock, which adds the time the system gave to other processes meanwhile, and the age of
// the copy: for each step, how long until a copy that holds it was known to be on the disk.
// Rows with recovery 0 are the same drag without copies. BM_RecoveryFork times the fork alone;
// the rest of the longest step is the first writes to pages the writer still shares.
//
// Drawings: 100,000 curves of 10 points built in memory, and the 100 MB file of
// bench_DocumentFileBench (757,575 curves of 16 points) loaded as the program loads it.

namespace {

using Clock = std::chrono::steady_clock;

// The time this thread has run: what a step costs the window, without the time the system gave
// to other programs meanwhile.
double ThreadCpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench::BenchFolder("swoop2-recovery-bench-XXXXXX");
    return folder;
}

class DragSetup {
public:
    explicit DragSetup(int shape) {
        if (shape == 0) {
            for (CCurve& curve : bench::MakeCurves(100000, 10)) {
                curve.m_bClosed = true;
                doc.AddCurve(std::make_unique<CCurve>(std::move(curve)));
            }
        } else {
            const std::string path = (Folder() / "many_curves.bin").string();
            if (!std::filesystem::exists(path) && !bench::WriteDrawingFile(path, 757'575, 16))
                std::abort();
            CFile file;
            if (!file.Open(path, CFile::modeRead))
                std::abort();
            CArchive ar(&file, CArchive::load);
            doc.Serialize(ar);
            ar.Close();
        }
        doc.m_pSelected = doc.m_curves.back().get();
        doc.m_nSelPoint = 0;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CSwoop2View);
        context.m_pCurrentDoc = &doc;
        frame = std::make_unique<CFrameWnd>();
        frame->LoadFrame(0, WS_OVERLAPPEDWINDOW, nullptr, &context);
        view = static_cast<CSwoop2View*>(frame->GetActiveView());
        view->GetWidget()->setFixedSize(bench::kWidth, bench::kHeight);
        frame->GetWidget()->resize(bench::kWidth + 40, bench::kHeight + 80);
        frame->GetWidget()->show();
        QCoreApplication::processEvents();
        // The first repaint of a part makes the view's picture of the other curves; the drag
        // is measured from the second on.
        for (int d : {1, -1}) {
            doc.MoveSelectedPoint(d, d);
            view->UpdateWindow();
        }
        doc.SetModifiedFlag(false);
    }

    ~DragSetup() { frame.reset(); }

    CSwoop2Doc doc;
    std::unique_ptr<CFrameWnd> frame;
    CSwoop2View* view = nullptr;
};

void BM_RecoveryPointDrag(benchmark::State& state) {
    const bool recovery = state.range(1) != 0;
    CWinApp* app = AfxGetApp();
    if (recovery)
        app->EnableRecoveryCopies();
    {
        DragSetup setup(int(state.range(0)));
        CRecoveryKeeper* keeper = app->GetRecoveryKeeper();
        constexpr auto kPace = std::chrono::microseconds(16667);
        struct Step {
            std::uint64_t generation;
            Clock::time_point at;
        };
        std::vector<Step> waiting;
        std::vector<double> ages;
        double longest = 0;
        double longestCpu = 0;
        int forks = 0;
        int direction = 1;
        // The copies that reached the disk, and the age of every step they hold.
        const auto collect = [&] {
            if (keeper == nullptr)
                return;
            const std::uint64_t copied = keeper->GetCopiedModificationCount();
            const auto now = Clock::now();
            auto it = waiting.begin();
            for (; it != waiting.end() && it->generation <= copied; ++it)
                ages.push_back(std::chrono::duration<double, std::milli>(now - it->at).count());
            waiting.erase(waiting.begin(), it);
        };
        for (auto _ : state) {
            const auto start = Clock::now();
            const double cpuStart = ThreadCpuMilliseconds();
            const bool wasRunning = keeper != nullptr && keeper->IsWriterRunning();
            setup.doc.MoveSelectedPoint(direction, direction);
            direction = -direction;
            setup.view->UpdateWindow();
            QCoreApplication::processEvents();
            const auto end = Clock::now();
            longestCpu = std::max(longestCpu, ThreadCpuMilliseconds() - cpuStart);
            forks += keeper != nullptr && !wasRunning && keeper->IsWriterRunning();
            const double seconds = std::chrono::duration<double>(end - start).count();
            state.SetIterationTime(seconds);
            longest = std::max(longest, seconds * 1e3);
            waiting.push_back({setup.doc.GetModificationCount(), start});
            collect();
            std::this_thread::sleep_until(start + kPace);
        }
        // The last steps reach the disk with the copy after them.
        const auto give_up = Clock::now() + std::chrono::seconds(30);
        while (keeper != nullptr && !waiting.empty() && Clock::now() < give_up) {
            QCoreApplication::processEvents();
            collect();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (keeper != nullptr && !waiting.empty())
            state.SkipWithError("the copy never caught up with the drawing");
        state.counters["longest_step_ms"] = longest;
        state.counters["longest_step_cpu_ms"] = longestCpu;
        state.counters["forks"] = forks;
        if (!ages.empty()) {
            double sum = 0;
            for (double age : ages)
                sum += age;
            state.counters["age_mean_ms"] = sum / double(ages.size());
            state.counters["age_max_ms"] = *std::max_element(ages.begin(), ages.end());
        }
        setup.doc.SetModifiedFlag(false);
    }
    app->EndRecoveryCopies();
}

// The fork alone, in the same process as the drag's: the copy of the page tables that gives
// the writer its snapshot. The child leaves at once; waiting for it is not timed.
void BM_RecoveryFork(benchmark::State& state) {
    DragSetup setup(int(state.range(0)));
    for (auto _ : state) {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(0);
        state.PauseTiming();
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
            state.SkipWithError("fork failed");
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_RecoveryFork)
    ->ArgNames({"drawing"})
    ->Arg(0)
    ->Arg(1)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryPointDrag)
    ->ArgNames({"drawing", "recovery"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The view needs a window; no display is needed to measure it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The copies go to a folder of the benchmark's own.
    qputenv("XDG_STATE_HOME", Folder().string().c_str());
    CWinApp app("swoop2");
    QApplication qtApp(argc, argv);
    if (!AfxOleInit())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
