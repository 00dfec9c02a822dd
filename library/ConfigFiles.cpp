#include "library/ConfigFiles.h"

#include "app/Helpers.h"
#include "app/PathSafety.h"
#include "library/ItemWalk.h"

#include <filesystem>

namespace {

void KeepDefaultWhenEmpty(std::string &name, const char *fallback)
{
    if (name.empty()) name = fallback;
}

}  // namespace

TemplateNames ReadTemplateNames(XmlDocument &doc, const std::string &templateDir)
{
    TemplateNames names{"images", "default_images", "presets", "layouts", "template", "index_temp.html"};
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
    KeepDefaultWhenEmpty(names.TempFile, "index_temp.html");
    KeepDefaultWhenEmpty(names.TempFolder, "template");
    KeepDefaultWhenEmpty(names.LayoutRoot, "layouts");
    KeepDefaultWhenEmpty(names.PresetRoot, "presets");
    for (std::string *name : {&names.TempFolder, &names.LayoutRoot, &names.PresetRoot, &names.ImageBackup,
                              &names.ImageRoot})
        *name = FilePath(StripBadSlashes(*name));
    return names;
}

std::vector<StylesheetRow> ReadStylesheetRows(XmlDocument &doc, const std::string &path)
{
    std::vector<StylesheetRow> rows;
    for (auto &v : ReadItems(doc, path, {"title", "filename", "folder", "var", "description", "media"}))
        rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5]});
    return rows;
}

std::vector<ImageRow> ReadImageRows(XmlDocument &doc, const std::string &path)
{
    std::vector<ImageRow> rows;
    for (auto &v : ReadItems(doc, path, {"image", "url", "folder", "var"})) rows.push_back({v[0], v[1], v[2], v[3]});
    return rows;
}

std::vector<LayoutRow> ReadLayoutRows(XmlDocument &doc, const std::string &path)
{
    std::vector<LayoutRow> rows;
    for (auto &v : ReadItems(doc, path, {"title", "default", "folder", "var"})) rows.push_back({v[0], v[1], v[2], v[3]});
    return rows;
}

std::vector<ColorRow> ReadColorRows(XmlDocument &doc, const std::string &path)
{
    std::vector<ColorRow> rows;
    for (auto &v : ReadItems(doc, path, {"title", "var", "default"})) rows.push_back({v[0], v[1], v[2]});
    return rows;
}

std::vector<FontRow> ReadFontRows(XmlDocument &doc, const std::string &path)
{
    std::vector<FontRow> rows;
    for (auto &v : ReadItems(doc, path, {"title", "font-family", "font-size", "font-measure", "font-weight",
                                         "font-style", "font-decoration", "var"}))
        rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
    return rows;
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
