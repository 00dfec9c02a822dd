#include "builder/CodeBuffer.h"
#include "builder/Generation.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The seconds a child process takes from its start to its end.
double ChildSeconds(std::vector<std::string> arguments)
{
    std::vector<char *> argv;
    for (std::string &argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
    waitpid(child, nullptr, 0);
    return SecondsSince(start);
}

constexpr int kStaticFiles = 2000;

void WriteFile(const fs::path &path, const std::string &content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// A template with 2000 static files in ten folders, two style sheets and four images.
struct SiteTemplate {
    QTemporaryDir folder;
    std::vector<StylesheetRow> stylesheets{{"Main", "main.css", "css/", "%%CSS_MAIN%%", "", "screen"},
                                           {"Print", "print.css", "css/", "%%CSS_PRINT%%", "", "print"}};
    std::vector<LayoutRow> layouts{{"Menu", "tabs", "layouts/", "%%LAYOUT_MENU%%"}};
    std::vector<ColorRow> colors;
    std::vector<FontRow> fonts{{"Body", "Georgia, serif", "14", "px", "normal", "normal", "none", "%%FONT_BODY%%"}};
    std::vector<ImageRow> images;

    SiteTemplate()
    {
        const fs::path root = Dir();
        std::string list;
        for (int n = 0; n < kStaticFiles; ++n) {
            const std::string entry = "static/part" + std::to_string(n % 10) + "/file" + std::to_string(n) + ".js";
            WriteFile(root / entry, std::string(2048, 'x'));
            list += entry + "\r\n";
        }
        WriteFile(root / "static_files.qrl", list);
        std::string page = "<html><head>%%CSS_MAIN%%\r\n%%CSS_PRINT%%</head><body>%%LAYOUT_MENU%%\r\n";
        for (int n = 1; n <= 40; ++n) {
            colors.push_back({"Colour", "%%COLOR_" + std::to_string(n) + "%%", "#102030"});
            page += "<p style=\"color:%%COLOR_" + std::to_string(n) + "%%\">Paragraph of text.</p>\r\n";
        }
        for (int n = 1; n <= 4; ++n) {
            images.push_back({"Image", "photo" + std::to_string(n) + ".jpg", "images/", "%%IMAGE_" + std::to_string(n) + "%%"});
            WriteFile(root / ("images/photo" + std::to_string(n) + ".jpg"), std::string(30000, 'j'));
            page += "<img src=\"%%IMAGE_" + std::to_string(n) + "%%\" />\r\n";
        }
        WriteFile(root / "index.html", page + "<!--BEGIN_EDITABLE-->x<!--END_EDITABLE--></body></html>\r\n");
        WriteFile(root / "css/main.css", "body { %%FONT_BODY%% color: %%COLOR_1%%; }\r\n");
        WriteFile(root / "css/print.css", "body { color: %%COLOR_2%%; }\r\n");
        WriteFile(root / "layouts/tabs.lyo", "<ul class=\"tabs\" style=\"color:%%COLOR_3%%\"></ul>\r\n");
    }

    std::string Dir() const { return folder.path().toStdString(); }
};

// Generates the site beside "cp -r" of the folder `copied` on the same file system.
void GenerateBesideCopy(benchmark::State &state, const SiteSources &sources, const std::string &copied)
{
    const fs::path trash = qgetenv("XDG_DATA_HOME").toStdString() + "/Trash";
    // Beside the output folder, so that both write into the same place.
    const std::string copy = sources.templateDir + "/copy";
    CodeBuffer buffer;
    std::size_t listed = 0;
    double ours = 0;
    double copying = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        listed = 0;
        SiteGenerator generator(sources, buffer, nullptr, [&listed](const std::string &) { ++listed; });
        generator.WriteSite();
        generator.FinishSite({true, true});
        ours += SecondsSince(start);
        state.PauseTiming();
        fs::remove_all(trash);
        fs::remove_all(copy);
        copying += ChildSeconds({"cp", "-r", copied, copy});
        state.ResumeTiming();
    }
    fs::remove_all(copy);
    state.counters["files"] = static_cast<double>(listed);
    state.counters["cp_r_ms"] = copying * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio_to_cp_r"] = ours / copying;
}

// The generation beside "cp -r" of the template's static files.
void BM_GenerateSite(benchmark::State &state)
{
    SiteTemplate site;
    const SiteSources sources{site.Dir(), {"images", "", "presets", "layouts", "template", "index_temp.html"},
                              site.stylesheets, {site.layouts, site.colors, site.fonts, site.images}};
    GenerateBesideCopy(state, sources, site.Dir() + "/static");
}

// A template whose static file list names one file `repeats` times.
struct RepeatedEntryTemplate {
    QTemporaryDir folder;
    std::vector<StylesheetRow> stylesheets;
    std::vector<LayoutRow> layouts;
    std::vector<ColorRow> colors;
    std::vector<FontRow> fonts;
    std::vector<ImageRow> images;

    explicit RepeatedEntryTemplate(int repeats)
    {
        const fs::path root = Dir();
        WriteFile(root / "logo.png", std::string(2048, 'p'));
        std::string list;
        for (int n = 0; n < repeats; ++n) list += "logo.png\r\n";
        WriteFile(root / "static_files.qrl", list);
        WriteFile(root / "index.html", "<html></html>\r\n");
        // The same number of files for "cp -r".
        for (int n = 0; n < repeats; ++n)
            WriteFile(root / "files" / ("logo" + std::to_string(n) + ".png"), std::string(2048, 'p'));
    }

    std::string Dir() const { return folder.path().toStdString(); }
};

// Every repeat of the entry becomes a copy under a new name, beside "cp -r" of as many files.
void BM_GenerateRepeatedEntry(benchmark::State &state)
{
    RepeatedEntryTemplate site(static_cast<int>(state.range(0)));
    const SiteSources sources{site.Dir(), {"images", "", "presets", "layouts", "template", "index_temp.html"},
                              site.stylesheets, {site.layouts, site.colors, site.fonts, site.images}};
    GenerateBesideCopy(state, sources, site.Dir() + "/files");
}

}  // namespace

BENCHMARK(BM_GenerateSite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateRepeatedEntry)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);
