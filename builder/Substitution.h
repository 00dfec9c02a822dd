#pragma once

#include "app/Rows.h"

#include <string>
#include <vector>

class CodeBuffer;

using StringList = std::vector<std::string>;

// The rows whose variables every page and style sheet of a template receives.
struct RowTables {
    const std::vector<LayoutRow> &layouts;
    const std::vector<ColorRow> &colors;
    const std::vector<FontRow> &fonts;
    const std::vector<ImageRow> &images;
};

// The five CSS declarations that stand for a font variable.
std::string FontBlock(const FontRow &row);

// A layout option file's text: its lines up to a zero byte, each followed by CR LF.
// Throws "Cannot open file ..." when it cannot be read.
std::string ReadOptionText(const std::string &path);

// The option file of a layout row relative to `templateDir`, its name as the
// folder holds it ("Narrow.LYO" for the option "Narrow"); a path leading out
// of the template is given as written, its folder unlisted.
std::string OptionFile(const std::string &templateDir, const LayoutRow &row);

// Replaces, in this order, the layout, colour, font and image variables of every
// row everywhere in `buffer`. Layout option files are read below `templateDir`;
// those outside it are skipped and returned.
StringList SubstituteRowVariables(CodeBuffer &buffer, const std::string &templateDir, const RowTables &tables);
