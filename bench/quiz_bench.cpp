#include "quiz/csv_file.h"
#include "quiz/question_set.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// Question files of a given number of lines, each an answer of 8 bytes and a
// question of about 30 bytes in code page 932, written once per run.
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
        std::mt19937 random(static_cast<uint32_t>(nLines));
        std::ofstream out(strPath, std::ios::binary);
        std::string strLine;
        for (int64_t i = 0; i < nLines; ++i) {
            strLine.clear();
            for (int c = 0; c < 8; ++c)
                strLine += static_cast<char>('A' + random() % 26);
            strLine += ',';
            // Ten hiragana (two bytes each), a space and nine ASCII bytes.
            for (int c = 0; c < 10; ++c) {
                strLine += '\x82';
                strLine += static_cast<char>(0x9F + random() % 83);
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
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
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

// What the Read command does: the whole file read, five questions kept.
void BM_LoadFive(benchmark::State& state)
{
    const std::string& strPath = g_files.Get(state.range(0));
    CQuestionSet set;
    for (auto _ : state) {
        set.Load(strPath, 5);
        benchmark::DoNotOptimize(set.GetAt(4));
    }
    SetThroughput(state, strPath);
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

#define QUIZ_FILE_SIZES Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_GetlineLoop)->QUIZ_FILE_SIZES;
BENCHMARK(BM_CsvReadAll)->QUIZ_FILE_SIZES;
BENCHMARK(BM_LoadFive)->QUIZ_FILE_SIZES;
BENCHMARK(BM_LoadEveryLine)->QUIZ_FILE_SIZES;

} // namespace
