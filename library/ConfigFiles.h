#pragma once

#include "app/Rows.h"

#include <string>
#include <vector>

class XmlDocument;

// The template's own folder and file names, relative to its folder.
struct TemplateNames {
    std::string ImageRoot, ImageBackup, PresetRoot, LayoutRoot, TempFolder, TempFile;
};

// Reads "quorlin_settings.xml" of `templateDir`; a template without it gets the
// fallback names and no image folders.
TemplateNames ReadTemplateNames(XmlDocument &doc, const std::string &templateDir);

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
