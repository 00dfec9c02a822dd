#include "library/Presets.h"

#include "library/ConfigFiles.h"
#include "library/ItemWalk.h"
#include "platform/FolderSearch.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

bool IsRegularPreset(const std::string &path)
{
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

// Fills each item from its row; an item without a row stops the walk.
ItemVisitor FillFromRows(const PresetKind &kind, const std::vector<PresetValues> &rows,
                         const std::string &configPath)
{
    return [&kind, &rows, &configPath, index = std::size_t{0}](XmlElement &item) mutable {
        if (index == rows.size())
            throw std::runtime_error("\"" + configPath + "\" has more items than the table has rows");
        const PresetValues &values = rows[index++];
        for (std::size_t i = 0; i < values.size(); ++i) item.ChildNamed(kind.elements[i]).SetText(values[i]);
    };
}

}  // namespace

std::optional<std::string> PresetFolder(const std::string &templateDir, const std::string &presetRoot,
                                        const PresetKind &kind)
{
    return PathInTemplate(templateDir, presetRoot + "/" + kind.folder + "/");
}

std::string PresetPath(const std::string &folder, const std::string &name)
{
    return folder + platform::NameOnDisk(folder, name + ".xml");
}

bool IsMissingPresetName(const std::string &name)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    return name == kPresetPrompt || std::all_of(name.begin(), name.end(), isBlank);
}

bool IsUnsafePresetName(const std::string &name)
{
    return name == "." || name == ".." || name.find_first_of(std::string("/\0", 2)) != std::string::npos;
}

const char *SaveRefusal(SaveOutcome outcome)
{
    switch (outcome) {
    case SaveOutcome::Saved:
        return "";
    case SaveOutcome::NameMissing:
        return "Please, enter a name for this preset!";
    case SaveOutcome::AlreadyExists:
        return "Such Preset Already Exists!";
    case SaveOutcome::FolderOutside:
        return "Error Saving Preset. The preset folder lies outside the template's folder.";
    case SaveOutcome::NameUnsafe:
    case SaveOutcome::WriteFailed:
        break;
    }
    return "Error Saving Preset. Please, be sure you are using only letters and numbers in the preset name!";
}

SaveOutcome SavePresetFile(XmlDocument &doc, const std::string &templateDir, const std::string &presetRoot,
                           const PresetKind &kind, const std::string &name, const std::vector<PresetValues> &rows)
{
    const std::optional<std::string> folder = PresetFolder(templateDir, presetRoot, kind);
    if (!folder) return SaveOutcome::FolderOutside;
    std::error_code ignored;
    fs::create_directories(*folder, ignored);
    if (IsMissingPresetName(name)) return SaveOutcome::NameMissing;
    if (IsUnsafePresetName(name)) return SaveOutcome::NameUnsafe;
    const std::string path = PresetPath(*folder, name);
    if (IsRegularPreset(path)) return SaveOutcome::AlreadyExists;

    SaveOutcome outcome = SaveOutcome::Saved;
    const std::string configPath = templateDir + "/" + kind.configFile;
    WalkItems(doc, configPath, FillFromRows(kind, rows, configPath), [&] {
        try {
            doc.SaveAs(path);
            outcome = SaveOutcome::Saved;
        } catch (const std::exception &) {
            outcome = SaveOutcome::WriteFailed;
        }
    });
    return outcome;
}

void ReadLastItems(XmlDocument &doc, const std::string &path, const PresetKind &kind, LastItems &last)
{
    WalkItems(doc, path, [&](XmlElement &item) {
        PresetValues values;
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = item.ChildNamed(kind.elements[i]).Text();
        if (const auto found = last.find(values[0]); found != last.end()) found->second = std::move(values);
    });
}

bool DeletePresetFile(const std::string &path)
{
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() == fs::file_type::directory) return false;
    return fs::remove(path, ec) && !ec;
}
