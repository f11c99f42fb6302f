#include "platform/code_page.h"
#include "quiz/csv_file.h"
#include "quiz/question_set.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <iterator>
#include <string_view>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>

// The replaced operators pair malloc with free themselves.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

// Every allocation of the program is counted, and the bytes it holds at most,
// so that a benchmark can tell what a load keeps.
namespace {
std::atomic<int64_t> g_nAllocations{0};
std::atomic<int64_t> g_nHeld{0};
std::atomic<int64_t> g_nPeak{0};
} // namespace

void* operator new(size_t nSize)
{
    void* p = std::malloc(nSize ? nSize : 1);
    if (!p)
        throw std::bad_alloc();
    g_nAllocations.fetch_add(1, std::memory_order_relaxed);
    const int64_t nHeld = g_nHeld.fetch_add(static_cast<int64_t>(malloc_usable_size(p))) +
                          static_cast<int64_t>(malloc_usable_size(p));
    for (int64_t nPeak = g_nPeak.load(); nHeld > nPeak && !g_nPeak.compare_exchange_weak(nPeak, nHeld);)
        ;
    return p;
}

void operator delete(void* p) noexcept
{
    if (p)
        g_nHeld.fetch_sub(static_cast<int64_t>(malloc_usable_size(p)));
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}
#define WRIGGLET_COUNT_ALLOCATIONS 1
#endif

namespace {

namespace fs = std::filesystem;

// Question files of a given number of lines, each an answer of 8 bytes and a
// question of about 30 bytes in code page 932, written once per run. A
// negative count asks for the same lines in UTF-8 behind a byte-order mark.
class GeneratedFiles
{
public:
    ~GeneratedFiles()
    {
        std::error_code error;
        fs::remove_all(m_dir, error);
    }

    const std::string& Get(int64_t nLines)
    {
        auto it = m_paths.find(nLines);
        if (it != m_paths.end())
            return it->second;
        if (m_dir.empty()) {
            m_dir = fs::temp_directory_path() / ("wrigglet_bench_" + std::to_string(std::random_device{}()));
            fs::create_directories(m_dir);
        }
        const std::string strPath = (m_dir / (std::to_string(nLines) + ".csv")).string();
        const bool bUtf8 = nLines < 0;
        std::mt19937 random(static_cast<uint32_t>(std::abs(nLines)));
        std::ofstream out(strPath, std::ios::binary);
        if (bUtf8)
            out << "\xEF\xBB\xBF";
        std::string strLine;
        for (int64_t i = 0; i < std::abs(nLines); ++i) {
            strLine.clear();
            for (int c = 0; c < 8; ++c)
                strLine += static_cast<char>('A' + random() % 26);
            strLine += ',';
            // Ten hiragana (two bytes each), a space and nine ASCII bytes.
            for (int c = 0; c < 10; ++c) {
                if (bUtf8) {
                    // U+3041 to U+3093: E3 81 81 to E3 82 93.
                    const int n = 0x41 + static_cast<int>(random() % 83);
                    strLine += '\xE3';
                    strLine += static_cast<char>(n < 0x80 ? 0x81 : 0x82);
                    strLine += static_cast<char>(0x80 | (n & 0x3F));
                } else {
                    strLine += '\x82';
                    strLine += static_cast<char>(0x9F + random() % 83);
                }
            }
            strLine += " Q";
            strLine += std::to_string(1000000 + random() % 9000000);
            strLine += '?';
            strLine += '\n';
            out << strLine;
        }
        return m_paths[nLines] = strPath;
    }

private:
    fs::path m_dir;
    std::map<int64_t, std::string> m_paths;
};

GeneratedFiles g_files;

void SetThroughput(benchmark::State& state, const std::string& strPath)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fs::file_size(strPath)));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * std::abs(state.range(0)));
}

// The floor to compare with: every line read into one reused string.
void BM_GetlineLoop(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    for (auto _ : state) {
        std::ifstream in(strPath, std::ios::binary);
        std::string strLine;
        size_t nBytes = 0;
        while (std::getline(in, strLine))
            nBytes += strLine.size();
        benchmark::DoNotOptimize(nBytes);
    }
    SetThroughput(state, strPath);
}

// The whole file into the cell table, and the table freed again.
void BM_CsvReadAll(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    for (auto _ : state) {
        CCsvFile file;
        file.Open(strPath);
        file.ReadAll();
        benchmark::DoNotOptimize(file.GetMaxRowCount());
    }
    SetThroughput(state, strPath);
}

// What the Read command does: the whole file read, five questions kept;
// with the allocations of a load and the most it held above what was there.
void BM_LoadFive(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    CQuestionSet set;
#if WRIGGLET_COUNT_ALLOCATIONS
    const int64_t nAllocations = g_nAllocations.load();
    int64_t nPeak = 0;
#endif
    for (auto _ : state) {
#if WRIGGLET_COUNT_ALLOCATIONS
        const int64_t nBefore = g_nHeld.load();
        g_nPeak.store(nBefore);
#endif
        set.Load(strPath, 5);
        benchmark::DoNotOptimize(set.GetAt(4));
#if WRIGGLET_COUNT_ALLOCATIONS
        nPeak = std::max(nPeak, g_nPeak.load() - nBefore);
#endif
    }
    SetThroughput(state, strPath);
#if WRIGGLET_COUNT_ALLOCATIONS
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_nAllocations.load() - nAllocations),
                                                  benchmark::Counter::kAvgIterations);
    state.counters["peak_heap"] = benchmark::Counter(static_cast<double>(nPeak), benchmark::Counter::kDefaults,
                                                     benchmark::Counter::kIs1024);
#endif
}

// Every line becomes a question.
void BM_LoadEveryLine(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    CQuestionSet set;
    for (auto _ : state) {
        set.Load(strPath, 0);
        benchmark::DoNotOptimize(set.GetAt(0));
    }
    SetThroughput(state, strPath);
}

// The conversion alone, from a UTF-8 file's bytes in memory.
void BM_Utf8ToCodePage932(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    std::ifstream in(strPath, std::ios::binary);
    const std::string strUtf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string strOut;
    for (auto _ : state) {
        strOut.clear();
        if (AppendUtf8AsCodePage932(std::string_view(strUtf8).substr(3), strOut) != std::string_view::npos)
            state.SkipWithError("not converted");
    }
    SetThroughput(state, strPath);
}

#define QUIZ_FILE_SIZES Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_GetlineLoop)->QUIZ_FILE_SIZES;
BENCHMARK(BM_CsvReadAll)->QUIZ_FILE_SIZES;
// About 40 MB in code page 932 and 48 MB in UTF-8.
BENCHMARK(BM_LoadFive)->QUIZ_FILE_SIZES->Arg(-1000000);
BENCHMARK(BM_LoadEveryLine)->QUIZ_FILE_SIZES;
// About 1 MB: the same 20,000 lines in code page 932 and in UTF-8.
BENCHMARK(BM_LoadEveryLine)->Arg(20000)->Arg(-20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToCodePage932)->Arg(-20000)->Unit(benchmark::kMillisecond);

} // namespace
