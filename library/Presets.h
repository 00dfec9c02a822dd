#pragma once

#include "app/Rows.h"

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class XmlDocument;

inline constexpr const char *kPresetPrompt = "[Enter Name of Preset Here]";

// The three elements a preset keeps per item: the title element first, then
// the two values, in the order a save sets them.
using PresetValues = std::array<std::string, 3>;

// What sets one kind of preset apart: its folder below the preset root, the
// template's file a save copies and the element names of PresetValues.
struct PresetKind {
    const char *folder;
    const char *configFile;
    std::array<const char *, 3> elements;
};

template <class Row>
struct PresetFormat;

template <>
struct PresetFormat<ColorRow> {
    static constexpr PresetKind kind{"colors", "colors.xml", {"title", "var", "default"}};
    static PresetValues Values(const ColorRow &row) { return {row.title, row.variable, row.value}; }
    static void Take(ColorRow &row, const PresetValues &item)
    {
        row.value = item[2];
        row.variable = item[1];
    }
};

template <>
struct PresetFormat<ImageRow> {
    static constexpr PresetKind kind{"images", "images.xml", {"image", "var", "url"}};
    static PresetValues Values(const ImageRow &row) { return {row.title, row.folder, row.fileName}; }
    static void Take(ImageRow &row, const PresetValues &item)
    {
        row.fileName = item[2];
        row.folder = item[1];
    }
};

template <>
struct PresetFormat<LayoutRow> {
    static constexpr PresetKind kind{"layouts", "layouts.xml", {"title", "var", "default"}};
    static PresetValues Values(const LayoutRow &row) { return {row.title, row.folder, row.option}; }
    static void Take(LayoutRow &row, const PresetValues &item)
    {
        row.option = item[2];
        row.folder = item[1];
    }
};

// The folder that holds a kind's presets, ending with "/"; nothing when it
// lies outside the template's folder.
std::optional<std::string> PresetFolder(const std::string &templateDir, const std::string &presetRoot,
                                        const PresetKind &kind);
// The preset's file, under the name the folder holds it by in any letter case.
std::string PresetPath(const std::string &folder, const std::string &name);

// The prompt, or nothing but blanks and control characters.
bool IsMissingPresetName(const std::string &name);
// A name that would put the file outside the preset folder or cut its path.
bool IsUnsafePresetName(const std::string &name);

enum class SaveOutcome { Saved, FolderOutside, NameMissing, NameUnsafe, AlreadyExists, WriteFailed };

// The message a refused or failed save shows.
const char *SaveRefusal(SaveOutcome outcome);

// Creates the preset folders (unless they lie outside the template's
// folder), then, when the name is accepted and no preset
// of that name exists, writes a copy of the kind's configuration file whose
// i-th item holds the values of rows[i]. A file with more items than rows
// throws and nothing is written; so does an unreadable configuration file.
SaveOutcome SavePresetFile(XmlDocument &doc, const std::string &templateDir, const std::string &presetRoot,
                           const PresetKind &kind, const std::string &name, const std::vector<PresetValues> &rows);

// Deletes a preset file for good; false when it cannot be deleted.
bool DeletePresetFile(const std::string &path);

template <class Row>
SaveOutcome SavePreset(XmlDocument &doc, const std::string &templateDir, const std::string &presetRoot,
                       const std::string &name, const std::vector<Row> &rows)
{
    std::vector<PresetValues> values;
    for (const Row &row : rows) values.push_back(PresetFormat<Row>::Values(row));
    return SavePresetFile(doc, templateDir, presetRoot, PresetFormat<Row>::kind, name, values);
}

// Per row title, the last item of a preset file that carries it, if any.
using LastItems = std::unordered_map<std::string, std::optional<PresetValues>>;

// Reads the preset's items in document order into the titles `last` holds;
// items of other titles are passed over. Throws at an unreadable item, the
// items read before it kept.
void ReadLastItems(XmlDocument &doc, const std::string &path, const PresetKind &kind, LastItems &last);

// Sets every row whose title equals an item's title exactly; the last item
// of a title wins. Items before an unreadable one stay applied. Time linear
// in items and rows: the items are gathered per title first.
template <class Row>
void ApplyPreset(XmlDocument &doc, const std::string &path, std::vector<Row> &rows)
{
    LastItems last;
    for (const Row &row : rows) last.try_emplace(row.title);
    const auto setRows = [&] {
        for (Row &row : rows)
            if (const std::optional<PresetValues> &item = last.at(row.title)) PresetFormat<Row>::Take(row, *item);
    };
    try {
        ReadLastItems(doc, path, PresetFormat<Row>::kind, last);
    } catch (...) {
        setRows();
        throw;
    }
    setRows();
}
