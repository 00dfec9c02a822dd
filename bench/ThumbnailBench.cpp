#include "imaging/JpegCodec.h"
#include "imaging/ThumbnailViewer.h"
#include "platform/FileBytes.h"

#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <time.h>
#include <unistd.h>

#include <jpeglib.h>

namespace {

// The browser's first cell size, and the space in it less its padding.
const QSize kCell(400, 100);
const QSize kCellSpace = kCell - QSize(2 * ThumbnailViewer::kPadding, 2 * ThumbnailViewer::kPadding);

// 500 pictures, or as many as QUORLIN_BENCH_PICTURES says (a short run).
int PictureCount()
{
    const char *chosen = std::getenv("QUORLIN_BENCH_PICTURES");
    return chosen && std::atoi(chosen) > 0 ? std::atoi(chosen) : 500;
}

// A picture of 1600 x 1200 that compresses like a photograph: gradients,
// discs of colour and grain.
BgrImage Photograph(unsigned seed)
{
    BgrImage image = MakeBgrImage(1600, 1200);
    std::minstd_rand random(seed);
    struct Disc {
        int x, y, radius;
        unsigned char tint;
    };
    std::vector<Disc> discs;
    for (int n = 0; n < 12; ++n)
        discs.push_back({int(random() % 1600), int(random() % 1200), int(40 + random() % 300), static_cast<unsigned char>(random())});
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            unsigned char *pixel = image.Row(y) + x * 3;
            int shade = 0;
            for (const Disc &disc : discs)
                if ((x - disc.x) * (x - disc.x) + (y - disc.y) * (y - disc.y) < disc.radius * disc.radius) shade += disc.tint;
            const int grain = int(random() % 24);
            pixel[0] = static_cast<unsigned char>(x * 255 / 1600 + grain);
            pixel[1] = static_cast<unsigned char>(y * 200 / 1200 + shade + grain);
            pixel[2] = static_cast<unsigned char>(shade / 2 + grain);
        }
    return image;
}

enum class Copies { Whole, Linked };

// A folder of JPEG files of 1600 x 1200, four different pictures in turn;
// the repeats are copies or hard links.
class PictureFolder {
public:
    explicit PictureFolder(int count, Copies copies = Copies::Whole)
    {
        for (int n = 0; n < count; ++n) {
            paths_.push_back(Path() + "/picture" + std::to_string(n) + ".jpg");
            if (n < 4)
                EncodeJpegFile(Photograph(unsigned(n + 1)), paths_.back(), 90);
            else if (copies == Copies::Linked)
                std::filesystem::create_hard_link(paths_[std::size_t(n % 4)], paths_.back());
            else
                std::filesystem::copy_file(paths_[std::size_t(n % 4)], paths_.back());
        }
    }
    std::string Path() const { return folder_.path().toStdString(); }
    const std::vector<std::string> &Paths() const { return paths_; }

private:
    QTemporaryDir folder_;
    std::vector<std::string> paths_;
};

// The comparator: libjpeg's own reduction to 1/4 (400 x 300, twice the
// thumbnail's size) and one smooth scaling into the cell.
QImage ReducedDecodeAndScale(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.scale_denom = 4;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    QImage reduced(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reduced.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return reduced.scaled(kCellSpace, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The processor time this thread spends on `work` (both sides run on this one
// thread), so that other load on the machine does not skew the ratio.
template <typename Work> double Seconds(Work &&work)
{
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

double StatusMegabytes(const char *field)
{
    std::string status;
    ReadFileBytes("/proc/self/status", 1 << 16, status);
    const auto at = status.find(field);
    return at == std::string::npos ? 0 : double(std::strtoull(status.c_str() + at + std::strlen(field), nullptr, 10)) / 1e3;
}

double ResidentMegabytes() { return StatusMegabytes("VmRSS:"); }
double PeakResidentMegabytes() { return StatusMegabytes("VmHWM:"); }

// A viewer of the browser's width, shown, with cells of `cell`.
class ShownViewer {
public:
    ShownViewer(const std::string &folder, QSize cell)
    {
        viewer_.resize(820, 560);
        viewer_.SetFolder(folder);
        viewer_.SetCellSize(cell);
        viewer_.show();
    }
    ThumbnailViewer &operator*() { return viewer_; }

    // Lists the folder and draws the first screen, as the browser opens.
    void Open()
    {
        viewer_.Reload();
        viewer_.SetPosition(0);
        viewer_.ScrollToPosition(0);
        Draw();
    }

    // Draws every screen from the top to the bottom of the grid.
    void ScrollThrough()
    {
        QScrollBar *bar = viewer_.verticalScrollBar();
        for (int top = 0;; top += bar->pageStep()) {
            bar->setValue(top);
            Draw();
            if (top >= bar->maximum()) break;
        }
    }

private:
    void Draw() { benchmark::DoNotOptimize(viewer_.viewport()->grab()); }

    ThumbnailViewer viewer_;
};

// The browser opened on a folder of 1600 x 1200 photographs at the first cell
// size and scrolled through to its end, beside the comparator decoding the
// same files; "ratio" is ours over the comparator's time.
void BM_ThumbnailFullScroll(benchmark::State &state)
{
    const PictureFolder pictures(PictureCount());
    ShownViewer viewer(pictures.Path(), kCell);
    const double residentBefore = ResidentMegabytes();
    double ours = 0, comparator = 0;
    for (auto _ : state) {
        const double fill = Seconds([&viewer] { viewer.Open(), viewer.ScrollThrough(); });
        comparator += Seconds([&pictures] {
            for (const std::string &path : pictures.Paths()) benchmark::DoNotOptimize(ReducedDecodeAndScale(path));
        });
        ours += fill;
        state.SetIterationTime(fill);
    }
    state.counters["files"] = double((*viewer).count());
    state.counters["comparator_ms"] = comparator * 1e3 / double(state.iterations());
    state.counters["ratio"] = ours / comparator;
    state.counters["resident_growth_MB"] = ResidentMegabytes() - residentBefore;
}

// 20,000 photographs in one folder (4 times QUORLIN_BENCH_PICTURES in a
// short run), cells `state.range(0)` wide: the time until the first screen
// is drawn, then a scroll through the whole grid; "peak_MB" is the process's
// peak resident memory after both (run one size alone to read it).
void BM_ThumbnailLargeFolder(benchmark::State &state)
{
    const PictureFolder pictures(std::getenv("QUORLIN_BENCH_PICTURES") ? 4 * PictureCount() : 20000, Copies::Linked);
    const int width = int(state.range(0));
    ShownViewer viewer(pictures.Path(), QSize(width, width / 4));
    double scroll = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        viewer.Open();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        scroll += Seconds([&viewer] { viewer.ScrollThrough(); });
    }
    state.counters["files"] = double((*viewer).count());
    state.counters["scroll_s"] = scroll / double(state.iterations());
    state.counters["peak_MB"] = PeakResidentMegabytes();
}

}  // namespace

BENCHMARK(BM_ThumbnailFullScroll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbnailLargeFolder)->Arg(200)->Arg(400)->Arg(800)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
