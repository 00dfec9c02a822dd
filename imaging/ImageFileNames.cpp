#include "imaging/ImageFileNames.h"

#include "platform/FolderSearch.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string::size_type ExtensionStart(const std::string &name)
{
    const auto dot = name.find_last_of(".");
    const auto separator = name.find_last_of("/\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return name.size();
    return dot;
}

std::string AsciiUpper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

} // namespace

std::string FileExtension(const std::string &name) { return name.substr(ExtensionStart(name)); }

std::string WithoutExtension(const std::string &name) { return name.substr(0, ExtensionStart(name)); }

bool HasJpegExtension(const std::string &name)
{
    const std::string extension = AsciiUpper(FileExtension(name));
    return extension == ".JPG" || extension == ".JPEG";
}

bool IsTakenName(const std::string &folder, const std::string &name)
{
    const std::string path = folder + platform::NameOnDisk(folder, name);
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error)) &&
           !std::filesystem::is_directory(path, error);
}

std::string ProposedCopyName(const std::optional<std::string> &folder, const std::string &fileName)
{
    const std::string base = WithoutExtension(fileName.substr(fileName.find_last_of("/\\:") + 1));
    const auto copyName = [&base](int n) { return base + "_" + std::to_string(n) + ".jpg"; };
    int n = 1;
    while (folder && IsTakenName(*folder, copyName(n))) ++n;
    return copyName(n);
}

std::string JpegSaveName(const std::string &typed)
{
    if (FileExtension(typed).empty()) return typed + ".jpg";
    return HasJpegExtension(typed) ? typed : WithoutExtension(typed) + ".jpg";
}
