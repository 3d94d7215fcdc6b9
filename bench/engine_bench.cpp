// Planning and page reading over a large report, against the recording
// surface: what the engine itself costs, without any drawing.
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/read_page.h"
#include "tests/support/recording_surface.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// KVALON_BENCH_REPORT names the report; without it a 100 MB one is made.
std::string report_path() {
    if (const char* given = std::getenv("KVALON_BENCH_REPORT")) {
        return given;
    }
    const std::string path = "/tmp/kvalon-bench-100mb.txt";
    if (!std::filesystem::exists(path)) {
        std::ofstream out(path, std::ios::binary);
        std::string line;
        for (int i = 0; i < 130; ++i) {
            line.push_back(static_cast<char>(i % 3 == 0 ? ' ' : 128 + i % 64));
        }
        line += "\r\n";
        const std::size_t lines = (std::size_t{100} << 20) / line.size();
        for (std::size_t i = 0; i < lines; ++i) {
            out << line;
            if (i % 60 == 59) {
                out << "\f\r\n";
            }
        }
    }
    return path;
}

void prepare(kvalon::testing::RecordingSurface& surface, const std::string& path) {
    kvalon::reset_job();
    kvalon::job().FontFace = "CourierCyr";
    kvalon::job().ParamList = {path, "0", "8", ""};
    kvalon::job().SourcePath = path;
    kvalon::set_printer(&surface);
}

void BM_PlanScan(benchmark::State& state) {
    const std::string path = report_path();
    kvalon::testing::RecordingSurface surface;
    for (auto _ : state) {
        prepare(surface, path);
        kvalon::plan_layout();
        benchmark::DoNotOptimize(kvalon::job().LineCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    kvalon::set_printer(nullptr);
}
BENCHMARK(BM_PlanScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAllPages(benchmark::State& state) {
    const std::string path = report_path();
    kvalon::testing::RecordingSurface surface;
    for (auto _ : state) {
        state.PauseTiming();
        prepare(surface, path);
        kvalon::plan_layout();
        state.ResumeTiming();
        while (!kvalon::job().SourceDone) {
            kvalon::read_page();
        }
        benchmark::DoNotOptimize(kvalon::job().PageNumber);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    kvalon::set_printer(nullptr);
}
BENCHMARK(BM_ReadAllPages)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
