#pragma once

#include "app/Rows.h"

#include <optional>
#include <string>
#include <vector>

class XmlDocument;

// The template's own folder and file names, relative to its folder.
struct TemplateNames {
    std::string ImageRoot, ImageBackup, PresetRoot, LayoutRoot, TempFolder, TempFile;
};

using StringList = std::vector<std::string>;

// The names of a template before its settings are read.
TemplateNames DefaultTemplateNames();

// Reads "quorlin_settings.xml" of `templateDir`; a template without it gets the
// fallback names and no image folders.
TemplateNames ReadTemplateNames(XmlDocument &doc, const std::string &templateDir);

// Moves the preview file and the output folder off every file or folder the
// template uses: its own files, its preset, image and backup folders, and
// `used` (relative to `templateDir`). A name that is, or holds, one of them
// becomes the default name, or when that too collides, the default numbered
// from 2 ("template-2", "index_temp-2.html") that collides with none.
void KeepOffTemplateFiles(TemplateNames &names, const std::string &templateDir, StringList used);

// The files and folders that the tables name, relative to the template's folder.
StringList PathsInTables(const std::vector<StylesheetRow> &styleSheets, const std::vector<LayoutRow> &layouts,
                         const std::vector<ImageRow> &images);

// The preview file of the template in `templateDir`.
std::string PreviewFilePath(const std::string &templateDir, const TemplateNames &names);

// Readers of the configuration files: append one row per item in file order.
// The rows read before an item that fails stay appended.
void ReadStylesheetRows(XmlDocument &doc, const std::string &path, std::vector<StylesheetRow> &rows);
void ReadImageRows(XmlDocument &doc, const std::string &path, std::vector<ImageRow> &rows);
void ReadLayoutRows(XmlDocument &doc, const std::string &path, std::vector<LayoutRow> &rows);
void ReadColorRows(XmlDocument &doc, const std::string &path, std::vector<ColorRow> &rows);
void ReadFontRows(XmlDocument &doc, const std::string &path, std::vector<FontRow> &rows);

// The style element that stands for a style sheet in the working page.
std::string StyleElement(const std::string &media, const std::string &styleSheetText);

// A template's relative path as a file path: "\" becomes "/".
std::string FilePath(std::string relative);

// `templateDir` + "/" + the file path of `relative`; nothing when that leads
// out of the template's folder, links followed. "" is the folder itself.
std::optional<std::string> PathInTemplate(const std::string &templateDir, const std::string &relative);

// Throws when one of the template's own files is a link leading out of its folder.
void RefuseFilesLeadingOut(const std::string &templateDir);
