#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

// A temporary folder for one test, with small file helpers relative to it.
class TempFolder {
public:
    std::string Path(const std::string &relative = "") const { return dir_.path().toStdString() + "/" + relative; }
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
    bool Exists(const std::string &relative) const { return std::filesystem::exists(Path(relative)); }
    // Every entry below `relative` with its content ("" for folders), to compare before and after.
    std::map<std::string, std::string> Snapshot(const std::string &relative) const
    {
        std::map<std::string, std::string> entries;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(Path(relative)))
            entries[entry.path()] = entry.is_regular_file() ? Read(entry.path().string().substr(Path().size())) : "";
        return entries;
    }

private:
    QTemporaryDir dir_;
};

// The message of the std::runtime_error that `action` ends with.
inline std::string FailureText(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::runtime_error &failure) {
        return failure.what();
    }
    return "no failure";
}
