#include "builder/CodeBuffer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kColourCount = 300;
constexpr int kFontCount = 20;

std::string Numbered(const char *prefix, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d", prefix, number);
    return name;
}

// A page of style rules and markup of at least `bytes` bytes, in which every
// colour variable occurs several times and every font variable now and then.
std::vector<std::string> MakePage(std::size_t bytes)
{
    std::vector<std::string> lines;
    std::size_t size = 0;
    for (int n = 0; size < bytes; ++n) {
        const int colour = n * 3;
        const std::string rule = ".box" + std::to_string(n) + " { color: " + Numbered("COLOR_", colour % kColourCount + 1) +
                                 "; background: " + Numbered("color_", (colour + 1) % kColourCount + 1) +
                                 "; border: 1px solid " + Numbered("Color_", (colour + 2) % kColourCount + 1) + "; " +
                                 Numbered("FONT_", n % kFontCount + 1) + " }";
        const std::string markup = "<div class=\"box" + std::to_string(n) +
                                   "\"><p>Lorem ipsum dolor sit amet, consectetur adipiscing elit.</p></div>";
        for (const std::string &line : {rule, markup}) {
            lines.push_back(line);
            size += line.size() + 2;
        }
    }
    return lines;
}

std::size_t TextSize(const std::vector<std::string> &lines)
{
    std::size_t size = 0;
    for (const std::string &line : lines) size += line.size() + 2;
    return size;
}

const std::string kFontBlock =
    "font-family:Verdana, Arial, sans-serif;\r\nfont-size:12px;\r\nfont-weight:bold;\r\nfont-style:normal;\r\n"
    "text-decoration:none;\r\n";

// Runs `substitute` on a fresh copy of the page per iteration; `calls` scans each.
template <typename Substitute>
void RunOnFreshPages(benchmark::State &state, int calls, Substitute substitute)
{
    const std::vector<std::string> page = MakePage(static_cast<std::size_t>(state.range(0)));
    CodeBuffer buffer;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.SetLines(page);
        state.ResumeTiming();
        substitute(buffer);
        benchmark::DoNotOptimize(buffer);
    }
    state.SetItemsProcessed(state.iterations() * calls);
    state.SetBytesProcessed(state.iterations() * calls * static_cast<std::int64_t>(TextSize(page)));
}

// Every colour variable replaced, one full scan each, as a preview rebuild does.
void BM_ColourRebuild(benchmark::State &state)
{
    RunOnFreshPages(state, kColourCount, [](CodeBuffer &buffer) {
        for (int colour = 1; colour <= kColourCount; ++colour) {
            buffer.MoveToStart();
            buffer.SubstituteText(Numbered("COLOR_", colour), "#a0b1c2", SubstituteMode::AllMatches);
        }
    });
}

// Font variables replaced by five-line blocks, so the line list grows.
void BM_FontBlockRebuild(benchmark::State &state)
{
    RunOnFreshPages(state, kFontCount, [](CodeBuffer &buffer) {
        for (int font = 1; font <= kFontCount; ++font) {
            buffer.MoveToStart();
            buffer.SubstituteText(Numbered("FONT_", font), kFontBlock, SubstituteMode::AllMatches);
        }
    });
}

// One variable that occurs several times, replaced by itself so the page stays the same.
void BM_SingleVariableScan(benchmark::State &state)
{
    CodeBuffer buffer;
    buffer.SetLines(MakePage(static_cast<std::size_t>(state.range(0))));
    const std::string variable = Numbered("COLOR_", 150);
    for (auto _ : state) {
        buffer.MoveToStart();
        benchmark::DoNotOptimize(buffer.SubstituteText(variable, variable, SubstituteMode::AllMatches));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(TextSize(buffer.Lines())));
}

// A variable that the page does not hold: the bare search.
void BM_AbsentVariableScan(benchmark::State &state)
{
    CodeBuffer buffer;
    buffer.SetLines(MakePage(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        buffer.MoveToStart();
        benchmark::DoNotOptimize(buffer.SubstituteText("COLOR_999", "#000000", SubstituteMode::AllMatches));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(TextSize(buffer.Lines())));
}

void PageSizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(256 << 10)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_ColourRebuild)->Apply(PageSizes);
BENCHMARK(BM_FontBlockRebuild)->Apply(PageSizes);
BENCHMARK(BM_SingleVariableScan)->Apply(PageSizes);
BENCHMARK(BM_AbsentVariableScan)->Apply(PageSizes);
