#include "BenchDocuments.h"
#include "curve/PointBlock.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

// Loading and saving a 100 MB drawing, beside a single read() of the same file into fresh
// memory: the cost of the disk cache and the page faults that no loader can avoid. Two shapes
// of drawing: one curve of 12.5 million points, and 757,575 curves of 16 points.

namespace {

struct Shape {
    const char* name;
    std::uint32_t curves;
    std::uint32_t pointsPerCurve;
};

constexpr Shape kShapes[] = {
    {"one_curve", 1, 12'500'000},
    {"many_curves", 757'575, 16},
};

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench::BenchFolder("swoop2-bench-XXXXXX");
    return folder;
}

// Writes the drawing's file directly, without the code under measurement.
std::string FileOf(const Shape& shape) {
    const std::string path = (Folder() / (std::string(shape.name) + ".bin")).string();
    if (!std::filesystem::exists(path) &&
        !bench::WriteDrawingFile(path, shape.curves, shape.pointsPerCurve))
        std::abort();
    return path;
}

// The heap and the blocks that hold the points of loaded curves.
std::size_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd + PointBlock::MappedBytes();
}

void Load(CSwoop2Doc& doc, const std::string& path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        std::abort();
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
    ar.Close();
}

void BM_ReadWholeFile(benchmark::State& state) {
    const Shape& shape = kShapes[state.range(0)];
    const std::string path = FileOf(shape);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::unique_ptr<char[]> buffer(new char[size]);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, buffer.get() + done, size - done);
            if (n <= 0)
                std::abort();
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.SetLabel(shape.name);
}

void BM_Load(benchmark::State& state) {
    const Shape& shape = kShapes[state.range(0)];
    const std::string path = FileOf(shape);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    const double points = double(shape.curves) * shape.pointsPerCurve;
    double bytesHeld = 0;
    for (auto _ : state) {
        // Only the load is timed: not the heap statistics, not the deletion of the drawing.
        state.PauseTiming();
        auto doc = std::make_unique<CSwoop2Doc>();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        Load(*doc, path);
        state.PauseTiming();
        bytesHeld = double(HeapInUse() - before);
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.SetLabel(shape.name);
    state.counters["held_MB"] = bytesHeld / 1e6;
    // The memory budget: 12 bytes per point and 64 per curve. At most 1 meets it.
    state.counters["of_budget"] = bytesHeld / (12 * points + 64.0 * shape.curves);
    state.counters["B_per_point"] = bytesHeld / points;
}

// Writing through the archive into a file that the system caches: the program's share of a
// save. BM_SaveDocument adds the safe save's sync and rename, which wait for the disk.
void BM_Save(benchmark::State& state) {
    const Shape& shape = kShapes[state.range(0)];
    const std::string source = FileOf(shape);
    const std::string target = (Folder() / (std::string(shape.name) + ".saved")).string();
    CSwoop2Doc doc;
    Load(doc, source);
    for (auto _ : state) {
        CFile file;
        if (!file.Open(target, CFile::modeCreate | CFile::modeWrite))
            std::abort();
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
        file.Close();
    }
    if (std::filesystem::file_size(target) != std::filesystem::file_size(source))
        state.SkipWithError("the saved file differs in size");
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(source)));
    state.SetLabel(shape.name);
    std::filesystem::remove(target);
}

void BM_SaveDocument(benchmark::State& state) {
    const Shape& shape = kShapes[state.range(0)];
    const std::string source = FileOf(shape);
    const std::string target = (Folder() / (std::string(shape.name) + ".saved")).string();
    CSwoop2Doc doc;
    Load(doc, source);
    for (auto _ : state) {
        if (!doc.OnSaveDocument(target))
            state.SkipWithError("the save failed");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(source)));
    state.SetLabel(shape.name);
    std::filesystem::remove(target);
}

} // namespace

BENCHMARK(BM_ReadWholeFile)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
