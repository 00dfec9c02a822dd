#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A temporary folder for one test, with small file helpers relative to it.
class TempFolder {
public:
    std::string Path(const std::string &relative = "") const
    {
        return dir_.path().toStdString() + "/" + relative;
    }

    void Write(const std::string &relative, const std::string &content) const
    {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::ofstream(Path(relative), std::ios::binary) << content;
    }

    std::string Read(const std::string &relative) const
    {
        std::ostringstream content;
        content << std::ifstream(Path(relative), std::ios::binary).rdbuf();
        return content.str();
    }

    bool Exists(const std::string &relative) const
    {
        return std::filesystem::exists(Path(relative));
    }

private:
    QTemporaryDir dir_;
};
