// $OSTRA_HOME pointed at a fresh folder of the test's own (the program folder that holds the
// settings file, scripts, reports and help) for the lifetime of the object.
#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class CScopedHome {
public:
    CScopedHome()
    {
        static std::atomic<int> s_nCount{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("ostra-home-" + std::to_string(::getpid()) + "-" + std::to_string(++s_nCount));
        std::filesystem::create_directories(m_path);
        setenv("OSTRA_HOME", m_path.c_str(), 1);
    }
    ~CScopedHome()
    {
        unsetenv("OSTRA_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CScopedHome(const CScopedHome&) = delete;
    CScopedHome& operator=(const CScopedHome&) = delete;

    std::filesystem::path Path(const char* name) const { return m_path / name; }
    void Write(const char* name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const char* name) const
    {
        std::ifstream file(Path(name), std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

private:
    std::filesystem::path m_path;
};
