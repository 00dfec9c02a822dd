#pragma once

#include <string>

// One installed template: a row of the template list.
struct TemplateEntry {
    std::string title, author, folder, license;
};

struct StylesheetRow {
    std::string title, fileName, folder, variable, description, media;
};

struct ImageRow {
    std::string title, fileName, folder, variable;
};

struct LayoutRow {
    std::string title, option, folder, variable;
};

struct FontRow {
    std::string title, family, size, unit, weight, style, decoration, variable;
};

struct ColorRow {
    std::string title, variable, value;
};
