// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Times composing the output file's bytes for pages of growing size, next to
// a plain copy of as many bytes, and checks that the cost per byte stays flat
// from 1,000 to 100,000 links, text lines and pictures.
//
//   build/bench/compose_bench [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"

namespace {

using velmora::CodeList;
using velmora::PageSettings;

// A page with n links, n text lines and n pictures; some text carries umlauts
// and letters outside Windows-1252, as typed German text would.
PageSettings pageOfSize(std::int64_t n) {
    PageSettings s;
    s.Dots = true;
    s.lh = true;
    for (std::int64_t i = 0; i < n; ++i) {
        const std::string k = std::to_string(i);
        s.ListBox2.items.push_back("Verweis " + k);
        s.ListBox5.items.push_back("seiten/verweis" + k + ".html");
        s.ListBox1.items.push_back(i % 4 == 0 ? "Grüße aus Łódź, Zeile " + k
                                              : "Eine ganz gewöhnliche Zeile Text Nummer " + k);
        s.ListBox3.items.push_back("bilder/foto" + k + ".jpg");
        s.ListBox6.items.push_back("Bildunterschrift " + k);
    }
    return s;
}

const std::vector<std::string>& linesOfSize(std::int64_t n) {
    static std::map<std::int64_t, std::vector<std::string>> cache;
    auto& lines = cache[n];
    if (lines.empty()) {
        PageSettings s = pageOfSize(n);
        CodeList out;
        velmora::writePage(s, out);
        lines = out.lines();
    }
    return lines;
}

std::size_t bytesOfSize(std::int64_t n) { return velmora::composeFileBytes(linesOfSize(n)).size(); }

void BM_ComposeFileBytes(benchmark::State& state) {
    const auto& lines = linesOfSize(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string file = velmora::composeFileBytes(lines);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["lines"] = static_cast<double>(lines.size());
}

void BM_Memcpy(benchmark::State& state) {
    const std::size_t bytes = bytesOfSize(state.range(0));
    const std::string source(bytes, 'x');
    for (auto _ : state) {
        std::string copy(bytes, '\0');  // the compose allocates its result too
        std::memcpy(copy.data(), source.data(), bytes);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void BM_WritePage(benchmark::State& state) {
    PageSettings s = pageOfSize(state.range(0));
    CodeList out;
    for (auto _ : state) {
        velmora::writePage(s, out);
        benchmark::DoNotOptimize(out.lines().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytesOfSize(state.range(0))) *
                            state.iterations());
}

BENCHMARK(BM_ComposeFileBytes)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WritePage)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A run that failed, or from Google Benchmark 1.8 on was skipped, has no time
// to compare. 1.8 replaced Run::error_occurred by Run::skipped; the template
// makes the member's name a question for the version at hand.
template <class R>
bool withoutTime(const R& run) {
    if constexpr (requires { run.skipped; }) {
        return run.skipped != decltype(run.skipped){};
    } else {
        return run.error_occurred;
    }
}

// Keeps the time per byte of every run, so the summary can set them side by
// side once all have run.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter()
        : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            // with --benchmark_repetitions the median, reported last, wins
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if ((r.run_type != Run::RT_Iteration && !median) || withoutTime(r)) continue;
            const auto it = r.counters.find("bytes_per_second");
            if (it == r.counters.end() || it->second.value <= 0) continue;
            nsPerByte_[r.run_name.function_name][r.run_name.args] = 1e9 / it->second.value;
        }
    }

    // Prints the ratios; false when the cost per byte of a page grows by 2x
    // or more from 1,000 to 100,000 entries.
    bool printSummary() const {
        std::printf("\n%-8s %14s %14s %14s %10s\n", "entries", "compose ns/B", "memcpy ns/B",
                    "writePage ns/B", "compose/memcpy");
        for (const char* n : {"10", "1000", "100000"}) {
            const double compose = at("BM_ComposeFileBytes", n);
            const double copy = at("BM_Memcpy", n);
            std::printf("%-8s %14.4f %14.4f %14.4f %10.1f\n", n, compose, copy,
                        at("BM_WritePage", n), copy > 0 ? compose / copy : 0.0);
        }
        bool linear = true;
        for (const char* f : {"BM_ComposeFileBytes", "BM_WritePage"}) {
            const double small = at(f, "1000");
            const double large = at(f, "100000");
            if (small <= 0 || large <= 0) continue;  // filtered out
            const double growth = large / small;
            std::printf("%s: time per byte at 100,000 is %.2fx that at 1,000 (%s)\n", f, growth,
                        growth < 2.0 ? "linear" : "NOT linear");
            linear = linear && growth < 2.0;
        }
        return linear;
    }

private:
    double at(const std::string& function, const std::string& args) const {
        const auto f = nsPerByte_.find(function);
        if (f == nsPerByte_.end()) return 0;
        const auto a = f->second.find(args);
        return a == f->second.end() ? 0 : a->second;
    }

    std::map<std::string, std::map<std::string, double>> nsPerByte_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.printSummary() ? 0 : 1;
}
