#include "builder/Substitution.h"

#include "builder/CodeBuffer.h"
#include "library/ConfigFiles.h"

namespace {

void ReplaceEverywhere(CodeBuffer &buffer, const std::string &variable, const std::string &value)
{
    buffer.MoveToStart();
    buffer.SubstituteText(variable, value, SubstituteMode::AllMatches);
}

}  // namespace

std::string FontBlock(const FontRow &row)
{
    return "font-family:" + row.family + ";\r\n" + "font-size:" + row.size + row.unit + ";\r\n" +
           "font-weight:" + row.weight + ";\r\n" + "font-style:" + row.style + ";\r\n" +
           "text-decoration:" + row.decoration + ";\r\n";
}

std::string ReadOptionText(const std::string &path)
{
    CodeBuffer option;
    option.LoadFromFile(path);
    const std::string text = option.Text();
    // Every line gets a CR LF, the last included; reading stops at a zero byte.
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) return text.substr(0, zero) + "\r\n";
    if (text.empty() || text.ends_with("\r\n")) return text;
    return text + "\r\n";
}

void SubstituteRowVariables(CodeBuffer &buffer, const std::string &templateDir, const RowTables &tables)
{
    for (const LayoutRow &row : tables.layouts)
        ReplaceEverywhere(buffer, row.variable,
                          ReadOptionText(templateDir + "/" + FilePath(row.folder + row.option + ".lyo")));
    for (const ColorRow &row : tables.colors) ReplaceEverywhere(buffer, row.variable, row.value);
    for (const FontRow &row : tables.fonts) ReplaceEverywhere(buffer, row.variable, FontBlock(row));
    for (const ImageRow &row : tables.images) ReplaceEverywhere(buffer, row.variable, row.folder + row.fileName);
}
