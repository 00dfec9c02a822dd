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
