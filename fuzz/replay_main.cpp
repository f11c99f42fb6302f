// Runs the fuzz entry point once over every file named on the command line,
// or inside a folder named there; for compilers without libFuzzer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

namespace {

void Replay(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string strBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(strBytes.data()), strBytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    int nInputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
            for (const auto& file : files) {
                Replay(file);
                ++nInputs;
            }
        } else {
            Replay(path);
            ++nInputs;
        }
    }
    std::printf("replayed %d inputs\n", nInputs);
    return nInputs > 0 ? 0 : 1;
}
