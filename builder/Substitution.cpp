#include "builder/Substitution.h"

#include "app/PathSafety.h"
#include "builder/CodeBuffer.h"
#include "library/ConfigFiles.h"
#include "platform/FolderSearch.h"

#include <algorithm>

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
    std::string text = option.Text();
    text.resize(std::min(text.find('\0'), text.size()));
    // Every line ends with CR LF; a final line end starts no line of its own.
    if (!text.empty() && !text.ends_with("\r\n")) text += "\r\n";
    return text;
}

std::string OptionFile(const std::string &templateDir, const LayoutRow &row)
{
    const std::string path = FilePath(row.folder + row.option + ".lyo");
    // Only a folder inside the template is searched for the name's letter case.
    if (!LiesBelow(templateDir, path)) return path;
    const std::size_t nameStart = path.rfind('/') + 1;  // 0 when the path has no folder
    const std::string folder = path.substr(0, nameStart);
    return folder + platform::NameOnDisk(templateDir + "/" + folder, path.substr(nameStart));
}

StringList SubstituteRowVariables(CodeBuffer &buffer, const std::string &templateDir, const RowTables &tables)
{
    StringList outside;
    const FolderBounds bounds(templateDir);
    for (const LayoutRow &row : tables.layouts) {
        const std::string option = OptionFile(templateDir, row);
        if (bounds.Holds(option))
            ReplaceEverywhere(buffer, row.variable, ReadOptionText(templateDir + "/" + option));
        else
            outside.push_back(option);
    }
    for (const ColorRow &row : tables.colors) ReplaceEverywhere(buffer, row.variable, row.value);
    for (const FontRow &row : tables.fonts) ReplaceEverywhere(buffer, row.variable, FontBlock(row));
    for (const ImageRow &row : tables.images) ReplaceEverywhere(buffer, row.variable, row.folder + row.fileName);
    return outside;
}
