#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A folder of the test's own, removed with everything in it.
class CTempDir
{
public:
    CTempDir() { std::filesystem::create_directories(m_path); }
    ~CTempDir() { std::filesystem::remove_all(m_path); }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // A new file holding these bytes; returns its path.
    std::string Write(const std::string& strBytes)
    {
        const std::filesystem::path path = m_path / ("f" + std::to_string(m_nFiles++) + ".csv");
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.string();
    }

private:
    const std::filesystem::path m_path =
        std::filesystem::temp_directory_path() / ("wrigglet_" + std::to_string(std::random_device{}()));
    int m_nFiles = 0;
};
