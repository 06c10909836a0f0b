#pragma once

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <unistd.h>

// The independent side of the exchange tests: tests/exchange/exchange_tool.py
// writes DXF drawings with ezdxf and reads DXF drawings and XLSX workbooks
// with ezdxf and openpyxl (Debian's python3-ezdxf, python3-openpyxl).
inline std::string RunTool(const std::string& arguments) {
    const std::string command = std::string("/usr/bin/python3 ") + BALKOR_SOURCE_DIR +
                                "/tests/exchange/exchange_tool.py " + arguments;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    if (::pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    return out;
}

inline void WriteDrawing(const std::string& kind, const std::string& path) {
    RunTool("write-dxf " + kind + " '" + path + "'");
}

inline nlohmann::json ReadBack(const char* what, const std::string& path) {
    return nlohmann::json::parse(RunTool(std::string(what) + " '" + path + "'"));
}

// A scratch folder of one test.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "exch.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        dir_ = pattern;
    }
    ~ScratchDir() { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};
