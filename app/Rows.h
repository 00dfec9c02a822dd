#pragma once

#include <string>
#include <vector>

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

// A hidden table: its rows and the row selected for editing.
template <class Row>
struct Table {
    std::vector<Row> rows;
    int selected = -1;

    Row *Selected() { return selected >= 0 && selected < int(rows.size()) ? &rows[selected] : nullptr; }
    void Clear()
    {
        rows.clear();
        selected = -1;
    }
};
