// Runs every check of the fuzz target over every file named on the command
// line, or inside a folder named there; for compilers without libFuzzer.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

void ReplayInput(const std::string& strBytes);

namespace {

void Replay(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    ReplayInput(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

} // namespace

int main(int argc, char** argv)
{
    int nInputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    Replay(entry.path());
                    ++nInputs;
                }
            }
        } else {
            Replay(path);
            ++nInputs;
        }
    }
    std::printf("replayed %d inputs\n", nInputs);
    return nInputs > 0 ? 0 : 1;
}
