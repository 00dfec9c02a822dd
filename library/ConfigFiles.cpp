#include "library/ConfigFiles.h"

#include "app/Helpers.h"
#include "app/PathSafety.h"
#include "library/ItemWalk.h"
#include "platform/RealPath.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

void KeepDefaultWhenEmpty(std::string &name, const std::string &fallback)
{
    if (name.empty()) name = fallback;
}

// The files of a template that are not named by its configuration.
const char *const kTemplateFiles[] = {"index.html",      "template_info.html", "readme.html",
                                      "screenshot.bmp",  "settings.qrl",       "quorlin_settings.xml",
                                      "style_files.xml", "images.xml",         "layouts.xml",
                                      "colors.xml",      "fonts.xml",          "static_files.qrl"};

fs::path RealPathIn(const std::string &templateDir, const std::string &relative)
{
    return platform::RealPath(fs::path(templateDir) / FilePath(relative));
}

using Places = std::set<fs::path>;

// Each path looked up once, however often the template names it.
Places RealPathsIn(const std::string &templateDir, StringList paths)
{
    std::ranges::sort(paths);
    const auto repeats = std::ranges::unique(paths);
    paths.erase(repeats.begin(), repeats.end());
    Places places;
    for (const std::string &relative : paths) places.insert(RealPathIn(templateDir, relative));
    return places;
}

// True when `place` is one of `places` or a folder above one of them. Paths
// compare name by name, so those below a place sort right after it.
bool IsOrHoldsAny(const fs::path &place, const Places &places)
{
    const auto next = places.lower_bound(place);
    return next != places.end() && platform::IsOrLiesIn(*next, place);
}

// `name` with "-" and `n` put before its extension.
std::string NumberedName(const std::string &name, int n)
{
    const std::size_t dot = name.rfind('.');
    const std::size_t end = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, end) + "-" + std::to_string(n) + name.substr(end);
}

// Keeps `name` when it takes none of `used`; otherwise the first of `fallback`,
// `fallback` numbered 2, 3, ... that takes none. A name whose place cannot be
// worked out takes nothing: the generation refuses it.
void KeepOff(std::string &name, const std::string &fallback, const std::string &templateDir, const Places &used)
{
    const auto takesOne = [&](const std::string &candidate) {
        const fs::path place = RealPathIn(templateDir, candidate);
        return !place.empty() && IsOrHoldsAny(place, used);
    };
    if (!takesOne(name)) return;
    name = fallback;
    for (int n = 2; takesOne(name); ++n) name = NumberedName(fallback, n);
}

}  // namespace

TemplateNames DefaultTemplateNames()
{
    return {"images", "default_images", "presets", "layouts", "template", "index_temp.html"};
}

TemplateNames ReadTemplateNames(XmlDocument &doc, const std::string &templateDir)
{
    TemplateNames names = DefaultTemplateNames();
    const std::string path = templateDir + "/quorlin_settings.xml";
    if (!std::filesystem::exists(path)) {
        names.ImageRoot.clear();
        names.ImageBackup.clear();
        return names;
    }
    WalkItems(doc, path, [&](XmlElement &item) {
        names.ImageRoot = item.ChildNamed("imageroot").Text();
        names.TempFile = item.ChildNamed("tempfile").Text();
        names.TempFolder = item.ChildNamed("tempfolder").Text();
        names.LayoutRoot = item.ChildNamed("layoutroot").Text();
        names.PresetRoot = item.ChildNamed("presetroot").Text();
        names.ImageBackup = item.ChildNamed("imagebackup").Text();
    });
    // The preview file is deleted and written: it must stay in the template's folder.
    if (!LiesBelow(templateDir, FilePath(names.TempFile))) names.TempFile.clear();
    const TemplateNames defaults = DefaultTemplateNames();
    KeepDefaultWhenEmpty(names.TempFile, defaults.TempFile);
    KeepDefaultWhenEmpty(names.TempFolder, defaults.TempFolder);
    KeepDefaultWhenEmpty(names.LayoutRoot, defaults.LayoutRoot);
    KeepDefaultWhenEmpty(names.PresetRoot, defaults.PresetRoot);
    for (std::string *name : {&names.TempFolder, &names.LayoutRoot, &names.PresetRoot, &names.ImageBackup,
                              &names.ImageRoot})
        *name = FilePath(StripBadSlashes(*name));
    return names;
}

void KeepOffTemplateFiles(TemplateNames &names, const std::string &templateDir, StringList used)
{
    used.insert(used.end(), std::begin(kTemplateFiles), std::end(kTemplateFiles));
    used.insert(used.end(), {names.PresetRoot, names.ImageRoot, names.ImageBackup});
    const Places places = RealPathsIn(templateDir, std::move(used));
    const TemplateNames defaults = DefaultTemplateNames();
    KeepOff(names.TempFile, defaults.TempFile, templateDir, places);
    KeepOff(names.TempFolder, defaults.TempFolder, templateDir, places);
}

StringList PathsInTables(const std::vector<StylesheetRow> &styleSheets, const std::vector<LayoutRow> &layouts,
                         const std::vector<ImageRow> &images)
{
    StringList paths;
    for (const StylesheetRow &row : styleSheets) paths.push_back(row.folder + row.fileName);
    for (const LayoutRow &row : layouts) paths.insert(paths.end(), {row.folder, row.folder + row.option + ".lyo"});
    for (const ImageRow &row : images) paths.insert(paths.end(), {row.folder, row.folder + row.fileName});
    return paths;
}

std::string PreviewFilePath(const std::string &templateDir, const TemplateNames &names)
{
    return templateDir + "/" + FilePath(names.TempFile);
}

void ReadStylesheetRows(XmlDocument &doc, const std::string &path, std::vector<StylesheetRow> &rows)
{
    ReadItems(doc, path, {"title", "filename", "folder", "var", "description", "media"},
              [&](ItemValues &v) { rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5]}); });
}

void ReadImageRows(XmlDocument &doc, const std::string &path, std::vector<ImageRow> &rows)
{
    ReadItems(doc, path, {"image", "url", "folder", "var"},
              [&](ItemValues &v) { rows.push_back({v[0], v[1], v[2], v[3]}); });
}

void ReadLayoutRows(XmlDocument &doc, const std::string &path, std::vector<LayoutRow> &rows)
{
    ReadItems(doc, path, {"title", "default", "folder", "var"},
              [&](ItemValues &v) { rows.push_back({v[0], v[1], v[2], v[3]}); });
}

void ReadColorRows(XmlDocument &doc, const std::string &path, std::vector<ColorRow> &rows)
{
    ReadItems(doc, path, {"title", "var", "default"}, [&](ItemValues &v) { rows.push_back({v[0], v[1], v[2]}); });
}

void ReadFontRows(XmlDocument &doc, const std::string &path, std::vector<FontRow> &rows)
{
    ReadItems(doc, path,
              {"title", "font-family", "font-size", "font-measure", "font-weight", "font-style", "font-decoration",
               "var"},
              [&](ItemValues &v) { rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]}); });
}

std::string StyleElement(const std::string &media, const std::string &styleSheetText)
{
    return "<style type=\"text/css\" media=\"" + media + "\">" + styleSheetText + "</style>";
}

std::string FilePath(std::string relative)
{
    for (char &c : relative)
        if (c == '\\') c = '/';
    return relative;
}

std::optional<std::string> PathInTemplate(const std::string &templateDir, const std::string &relative)
{
    const std::string path = FilePath(relative);
    if (!path.empty() && !LiesBelow(templateDir, path)) return std::nullopt;
    return templateDir + "/" + path;
}

void RefuseFilesLeadingOut(const std::string &templateDir)
{
    for (const char *name : kTemplateFiles)
        if (!PathInTemplate(templateDir, name))
            throw std::runtime_error("\"" + std::string(name) + "\" leads out of the template's folder");
}
