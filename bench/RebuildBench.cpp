#include "builder/CodeBuffer.h"
#include "builder/Substitution.h"
#include "library/ConfigFiles.h"
#include "library/XmlDocument.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kColourRows = 300;

std::string ColourVariable(int number) { return "%%COLOUR_" + std::to_string(number) + "%%"; }

std::vector<ColorRow> ColourRows()
{
    std::vector<ColorRow> rows;
    for (int n = 1; n <= kColourRows; ++n) rows.push_back({"Colour " + std::to_string(n), ColourVariable(n), "#3A5F0B"});
    return rows;
}

// A page of about `bytes` bytes: style rules that use the colour variables in
// turn, written in varying case, between paragraphs of plain markup.
std::vector<std::string> LargePage(std::size_t bytes)
{
    std::vector<std::string> page;
    std::size_t size = 0;
    for (int n = 0; size < bytes; ++n) {
        std::string variable = ColourVariable(n % kColourRows + 1);
        if (n % 2) variable[3] = 'o';
        page.push_back("#item" + std::to_string(n) + " a:hover { color: " + variable + "; border-bottom: 1px dotted " +
                       ColourVariable((n * 7) % kColourRows + 1) + "; }");
        page.push_back("<p class=\"note\">Rooms are let from March to October; breakfast is served until ten.</p>");
        size += page[page.size() - 2].size() + page.back().size() + 4;
    }
    return page;
}

std::string PreviewPath() { return (std::filesystem::temp_directory_path() / "quorlin_bench_preview.html").string(); }

struct OpenedTemplate {
    std::string folder;
    CodeBuffer workingPage;
    std::vector<LayoutRow> layouts;
    std::vector<ColorRow> colors;
    std::vector<FontRow> fonts;
    std::vector<ImageRow> images;
};

template <class Row, class Reader>
std::vector<Row> ReadIfPresent(XmlDocument &doc, const std::string &path, Reader reader)
{
    std::vector<Row> rows;
    if (std::filesystem::exists(path)) reader(doc, path, rows);
    return rows;
}

// The template's working page and tables as the opening of a template leaves them.
OpenedTemplate OpenTemplate(const std::string &folder)
{
    XmlDocument doc;
    OpenedTemplate opened{folder, {}, {}, {}, {}, {}};
    CodeBuffer page;
    page.LoadFromFile(folder + "/index.html");
    for (const StylesheetRow &row :
         ReadIfPresent<StylesheetRow>(doc, folder + "/style_files.xml", ReadStylesheetRows)) {
        CodeBuffer sheet;
        sheet.LoadFromFile(folder + "/" + FilePath(row.folder + row.fileName));
        page.MoveToStart();
        page.SubstituteText(row.variable, StyleElement(row.media, sheet.Text()), SubstituteMode::FirstMatch);
    }
    opened.workingPage.SetLines(page);
    opened.layouts = ReadIfPresent<LayoutRow>(doc, folder + "/layouts.xml", ReadLayoutRows);
    opened.colors = ReadIfPresent<ColorRow>(doc, folder + "/colors.xml", ReadColorRows);
    opened.fonts = ReadIfPresent<FontRow>(doc, folder + "/fonts.xml", ReadFontRows);
    opened.images = ReadIfPresent<ImageRow>(doc, folder + "/images.xml", ReadImageRows);
    return opened;
}

std::string SampleFolder()
{
    const char *chosen = std::getenv("QUORLIN_BENCH_TEMPLATE");
    return chosen && *chosen ? chosen : std::string(QUORLIN_SOURCE_DIR) + "/data/templates/meadowlark";
}

// One preview rebuild: the working page substituted afresh and written out.
void Rebuild(CodeBuffer &buffer, const CodeBuffer &workingPage, const std::string &folder,
             const RowTables &tables)
{
    buffer.SetLines(workingPage);
    SubstituteRowVariables(buffer, folder, tables);
    buffer.SaveToFile(PreviewPath());
}

void BM_RebuildLargePage(benchmark::State &state)
{
    CodeBuffer page;
    page.SetLines(LargePage(static_cast<std::size_t>(state.range(0))));
    const std::vector<ColorRow> colors = ColourRows();
    const RowTables tables{{}, colors, {}, {}};
    CodeBuffer buffer;
    for (auto _ : state) Rebuild(buffer, page, ".", tables);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_RebuildSampleTemplate(benchmark::State &state)
{
    const OpenedTemplate opened = OpenTemplate(SampleFolder());
    const RowTables tables{opened.layouts, opened.colors, opened.fonts, opened.images};
    CodeBuffer buffer;
    for (auto _ : state) Rebuild(buffer, opened.workingPage, opened.folder, tables);
    state.counters["rows"] = static_cast<double>(opened.layouts.size() + opened.colors.size() +
                                                 opened.fonts.size() + opened.images.size());
}

}  // namespace

BENCHMARK(BM_RebuildLargePage)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildSampleTemplate)->Unit(benchmark::kMicrosecond);
