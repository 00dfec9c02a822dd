#include "imaging/MetafilePicture.h"
#include "imaging/ThumbnailViewer.h"
#include "imaging/metafile/MetafileProtocol.h"
#include "imaging/metafile/MetafileRender.h"
#include "platform/FileBytes.h"
#include "tests/MetafileWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace metafile_writer;

namespace {

const QSize kCellSpace(400 - 2 * ThumbnailViewer::kPadding, 100 - 2 * ThumbnailViewer::kPadding);

// A grid of `shapes` rectangles and ellipses in changing colours: three
// records a shape for the brush and one for the shape.
template <typename Metafile> std::string Shapes(Metafile metafile, int shapes, int seed)
{
    for (int n = 0; n < shapes; ++n) {
        const int x = (n % 5) * 40, y = (n / 5) * 30;
        metafile.Brush(std::uint32_t(0x102030 * (n + seed)) & 0xffffff);
        n % 2 ? metafile.Ellipse(x, y, x + 38, y + 28) : metafile.Rectangle(x, y, x + 38, y + 28);
    }
    return metafile.Bytes();
}

// 50 enhanced and 50 standard metafiles of a few dozen records each.
class MetafileFolder {
public:
    MetafileFolder()
    {
        for (int n = 0; n < 50; ++n) {
            Add("picture" + std::to_string(n) + ".emf", Shapes(Emf(200, 120), 10, n));
            Add("picture" + std::to_string(n) + ".wmf", Shapes(Wmf(200, 120, n % 2 == 0), 10, n));
        }
    }
    std::string Path() const { return folder_.path().toStdString(); }
    const std::vector<std::string> &Paths() const { return paths_; }

private:
    void Add(const std::string &name, const std::string &bytes)
    {
        paths_.push_back(Path() + "/" + name);
        WriteFileBytes(paths_.back(), bytes);
    }
    QTemporaryDir folder_;
    std::vector<std::string> paths_;
};

template <typename Work> double Seconds(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every cell of the folder drawn.
int DrawAllCells(ThumbnailViewer &viewer)
{
    int shown = 0;
    for (int row = 0; row < viewer.count(); ++row)
        shown += !viewer.item(row)->data(Qt::DecorationRole).value<QPixmap>().isNull();
    return shown;
}

// The browser's fill of the folder, every cell drawn, each time with a new
// helper process, beside the comparator: the same files read, converted and
// drawn in this process, without isolation. Wall time, since the helper's work
// is done in another process; "ratio" is ours over the comparator's.
void BM_MetafileFill(benchmark::State &state)
{
    const MetafileFolder metafiles;
    ThumbnailViewer viewer;
    viewer.SetFolder(metafiles.Path());
    double ours = 0, comparator = 0;
    int shown = 0, drawn = 0;
    for (auto _ : state) {
        EndMetafileHelper();
        const double fill = Seconds([&] {
            viewer.Reload();
            shown = DrawAllCells(viewer);
        });
        comparator += Seconds([&] {
            drawn = 0;
            for (const std::string &path : metafiles.Paths()) {
                std::string bytes;
                ReadFileBytes(path, kMetafileFileCap, bytes);
                drawn += !RenderMetafile(bytes, kCellSpace).isNull();
            }
        });
        ours += fill;
        state.SetIterationTime(fill);
    }
    state.counters["drawn"] = shown;
    state.counters["comparator_drawn"] = drawn;
    state.counters["comparator_ms"] = comparator * 1e3 / double(state.iterations());
    state.counters["ratio"] = ours / comparator;
}

}  // namespace

BENCHMARK(BM_MetafileFill)->UseManualTime()->Unit(benchmark::kMillisecond);
