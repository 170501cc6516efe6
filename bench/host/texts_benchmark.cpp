// Speed of the text routines on the host: TextLength against a byte loop and the C
// library's strlen at each start alignment, and JoinTexts of the web page command line.
// After the usual table it prints one line per text size with the time ratios, and the
// goals: at least 2x the byte loop at 4096 bytes, not slower than it at 8 bytes.
#include <benchmark/benchmark.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "byte_loop_length.h"
#include "prompt/text_memory.h"
#include "prompt/texts.h"

namespace {

typedef size_t (*LengthFunction)(const char*);

struct Measure {
    const char* name;
    LengthFunction function;
};

size_t LibraryLength(const char* text) { return strlen(text); }

const Measure measures[] = {
    {"TextLength", TextLength},
    {"ByteLoop", ByteLoopLength},
    {"strlen", LibraryLength},
};

const size_t sizes[] = {8, 64, 4096};

// Bytes of the texts: ASCII letters, or bytes of 0x80 and up as in the program's GBK
// texts, for which the word test reports a possible NUL that is not there.
enum class Bytes { Ascii, High };

std::string BenchmarkName(const char* measure, size_t size, size_t alignment, Bytes bytes)
{
    std::string name = std::string(measure) + "/" + std::to_string(size) + "/align:" +
                       std::to_string(alignment);
    return bytes == Bytes::High ? name + "/high" : name;
}

void MeasureLength(benchmark::State& state, LengthFunction length_of, size_t size,
                   size_t alignment, Bytes bytes)
{
    // 64-byte aligned, so that the text starts at exactly the alignment asked for.
    char* block = static_cast<char*>(aligned_alloc(64, (size + 64 + 63) / 64 * 64));
    char* text = block + alignment;
    for (size_t i = 0; i < size; ++i)
        text[i] = bytes == Bytes::Ascii ? char('a' + i % 26) : char(0x80 + i % 0x7F);
    text[size] = '\0';
    if (length_of(text) != size)
        state.SkipWithError("wrong length");
    for (auto _ : state) {
        const char* p = text;
        benchmark::DoNotOptimize(p);
        size_t length = length_of(p);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    free(block);
}

void MeasureJoin(benchmark::State& state)
{
    const char* command = "rundll32.exe url.dll,FileProtocolHandler ";
    const char* address = "https://forum.quorvel.example/";
    for (auto _ : state) {
        const char* a = command;
        const char* b = address;
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        char* joined = JoinTexts({a, b});
        benchmark::DoNotOptimize(joined);
        ReleaseText(joined);
    }
}

void RegisterAll()
{
    for (size_t size : sizes) {
        for (size_t alignment = 0; alignment < 4; ++alignment) {
            for (const Measure& m : measures) {
                benchmark::RegisterBenchmark(
                    BenchmarkName(m.name, size, alignment, Bytes::Ascii).c_str(),
                    MeasureLength, m.function, size, alignment, Bytes::Ascii);
            }
        }
    }
    for (const Measure& m : measures) {
        benchmark::RegisterBenchmark(BenchmarkName(m.name, 4096, 0, Bytes::High).c_str(),
                                     MeasureLength, m.function, size_t(4096), size_t(0),
                                     Bytes::High);
    }
    benchmark::RegisterBenchmark("JoinTexts/command+address", MeasureJoin);
}

// The console table, and the CPU time of every run kept to work out the ratios.
// With repetitions, only the median is shown. Colour only on a terminal.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                shown.push_back(run);
        }
        ConsoleReporter::ReportRuns(shown);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // Repetitions come one by one, or (aggregates only) as their median.
            if (run.run_type == Run::RT_Iteration)
                times_[run.run_name.str()].push_back(run.GetAdjustedCPUTime());
            else if (run.aggregate_name == "median")
                medians_[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
    }

    // The median over repetitions, in nanoseconds; 0 when not run.
    double Time(const std::string& name) const
    {
        auto median = medians_.find(name);
        if (median != medians_.end())
            return median->second;
        auto found = times_.find(name);
        if (found == times_.end())
            return 0;
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;
};

// How many times faster TextLength is than `other`, at each alignment (0 where either
// was not run).
std::vector<double> Ratios(const SummaryReporter& reporter, const char* other, size_t size,
                           Bytes bytes, size_t alignments)
{
    std::vector<double> ratios;
    for (size_t alignment = 0; alignment < alignments; ++alignment) {
        double own = reporter.Time(BenchmarkName("TextLength", size, alignment, bytes));
        double theirs = reporter.Time(BenchmarkName(other, size, alignment, bytes));
        ratios.push_back(own > 0 && theirs > 0 ? theirs / own : 0);
    }
    return ratios;
}

std::string Describe(const std::vector<double>& ratios)
{
    std::string text;
    char number[32];
    for (double ratio : ratios) {
        snprintf(number, sizeof number, "%s%.2f", text.empty() ? "" : " ", ratio);
        text += number;
    }
    return text;
}

void PrintSummary(const SummaryReporter& reporter)
{
    printf("\nSummary (CPU time ratio other / TextLength, median of repetitions; "
           "above 1 = TextLength faster)\n");
    // Where a loop's code falls relative to the 64-byte lines alone can change its speed.
    printf("code placement: TextLength at byte %u, ByteLoopLength at byte %u of a 64-byte "
           "line\n",
           unsigned(reinterpret_cast<uintptr_t>(&TextLength) % 64),
           unsigned(reinterpret_cast<uintptr_t>(&ByteLoopLength) % 64));
    for (size_t size : sizes) {
        std::vector<double> bytes = Ratios(reporter, "ByteLoop", size, Bytes::Ascii, 4);
        std::vector<double> library = Ratios(reporter, "strlen", size, Bytes::Ascii, 4);
        printf("size %4zu: byte loop / TextLength = %.2fx (align 0..3: %s); "
               "strlen / TextLength = %.2fx\n",
               size, *std::min_element(bytes.begin(), bytes.end()), Describe(bytes).c_str(),
               *std::min_element(library.begin(), library.end()));
    }
    std::vector<double> high = Ratios(reporter, "ByteLoop", 4096, Bytes::High, 1);
    std::vector<double> highLibrary = Ratios(reporter, "strlen", 4096, Bytes::High, 1);
    printf("size 4096, bytes >= 0x80, align 0: byte loop / TextLength = %.2fx; "
           "strlen / TextLength = %.2fx\n",
           high[0], highLibrary[0]);

    // Each goal must hold at every start alignment: judged on the worst one.
    std::vector<double> large = Ratios(reporter, "ByteLoop", 4096, Bytes::Ascii, 4);
    std::vector<double> small = Ratios(reporter, "ByteLoop", 8, Bytes::Ascii, 4);
    double worstLarge = *std::min_element(large.begin(), large.end());
    double worstSmall = *std::min_element(small.begin(), small.end());
    printf("GOAL TextLength at least 2x faster than the byte loop at 4096 bytes: %s "
           "(worst alignment %.3fx)\n",
           worstLarge == 0 ? "NOT RUN" : worstLarge >= 2 ? "PASS" : "MISS", worstLarge);
    printf("GOAL TextLength not slower than the byte loop at 8 bytes: %s "
           "(worst alignment %.3fx)\n",
           worstSmall == 0 ? "NOT RUN" : worstSmall >= 1 ? "PASS" : "MISS", worstSmall);
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
