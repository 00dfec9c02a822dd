#include "app/TForm1.h"
#include "app/Windows.h"
#include "imaging/JpegCodec.h"
#include "imaging/TForm10.h"
#include "ui_TForm1.h"
#include "ui_TForm10.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 6000, kHeight = 4000; // 24 megapixels, 72 MB at three bytes a pixel
const char *const kPhoto = "images/photos/large.jpg";

// A 24-megapixel picture whose bytes vary along both axes.
BgrImage LargePicture()
{
    BgrImage picture = MakeBgrImage(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        unsigned char *pixel = picture.Row(y);
        for (int x = 0; x < kWidth; ++x, pixel += 3) {
            pixel[0] = static_cast<unsigned char>(x);
            pixel[1] = static_cast<unsigned char>(y);
            pixel[2] = static_cast<unsigned char>(x + y);
        }
    }
    return picture;
}

// The program folder with the meadowlark template open in the main window and
// the large photo in its photo folder; the editor is made by each benchmark.
class OpenTemplate {
public:
    OpenTemplate()
    {
        namespace fs = std::filesystem;
        const fs::path root = fs::path(program.path().toStdString());
        fs::create_directories(root / "templates");
        fs::copy(std::string(QUORLIN_SOURCE_DIR) + "/data/templates/meadowlark", root / "templates/meadowlark",
                 fs::copy_options::recursive);
        EncodeJpegFile(LargePicture(), (root / "templates/meadowlark" / kPhoto).string(), 100);
        window = std::make_unique<TForm1>(root.string());
        Form1 = window.get();
        auto *list = window->Ui()->ListView1;
        list->setCurrentItem(list->findItems("meadowlark", Qt::MatchExactly, 2).front());
        window->Ui()->BitBtn10->click();
    }
    ~OpenTemplate() { Form1 = nullptr; }

    // An editor showing the large photo, as "Tweak" opens it (without its modal loop).
    std::unique_ptr<TForm10> OpenEditor() const
    {
        auto editor = std::make_unique<TForm10>(window.get());
        editor->setWindowTitle(kPhoto);
        editor->show();
        QCoreApplication::processEvents();
        return editor;
    }

private:
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;
};

OpenTemplate &Template()
{
    static auto &opened = *new OpenTemplate;  // never destroyed: its windows must not outlive the application
    return opened;
}

// Brightness 0 with all channels is the editor's state on opening; the other
// case masks blue and brightens.
void SetView(Ui::TForm10 *ui, int brightness)
{
    ui->CheckBox1->setChecked(brightness == 0);
    ui->ScrollBar1->setValue(brightness);
}

// One paint of the editor window: the window recomputes the view and the
// image panel draws it.
void BM_EditorPaint(benchmark::State &state)
{
    const auto editor = Template().OpenEditor();
    SetView(editor->Ui(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        editor->repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_EditorPaint)->Arg(0)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

// Comparator: one plain pass that copies the base picture into a ready buffer
// while applying the channel mask and the brightness.
void BM_ComparatorMaskBrightnessPass(benchmark::State &state)
{
    const BgrImage base = LargePicture();
    const int brightness = static_cast<int>(state.range(0));
    const bool keep[3] = {brightness == 0, true, true};
    std::vector<unsigned char> view(base.pixels.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < view.size(); i += 3)
            for (std::size_t c = 0; c < 3; ++c)
                view[i + c] = static_cast<unsigned char>(std::clamp((keep[c] ? base.pixels[i + c] : 0) + brightness, 0, 255));
        benchmark::DoNotOptimize(view.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComparatorMaskBrightnessPass)->Arg(0)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

// An "Invert Colors" click, with the recomputation of the view it runs.
void BM_EditorInvertClick(benchmark::State &state)
{
    const auto editor = Template().OpenEditor();
    for (auto _ : state) editor->BitBtn1Click();
}
BENCHMARK(BM_EditorInvertClick)->Unit(benchmark::kMillisecond)->UseRealTime();

long StatusKilobytes(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return 0;
}

// Peak memory of an editor session on the large photo: open, paint, each
// filter, mask and brightness, revert, and with argument 1 the dither
// preview. Reported against the picture's size, above the process's memory
// before the session and in all.
void BM_EditorSessionPeakMemory(benchmark::State &state)
{
    Template();
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak restarts from the present
        const double before = static_cast<double>(StatusKilobytes("VmRSS")) * 1024;
        {
            const auto editor = Template().OpenEditor();
            editor->repaint();
            editor->BitBtn1Click();
            editor->BitBtn2Click();
            editor->BitBtn3Click();
            editor->Grayscale1Click();
            SetView(editor->Ui(), 40);
            editor->repaint();
            if (state.range(0)) editor->TP1Click();
            QCoreApplication::processEvents();
            editor->BitBtn6Click();
            editor->repaint();
        }
        const double peak = static_cast<double>(StatusKilobytes("VmHWM")) * 1024;
        const double picture = 3.0 * kWidth * kHeight;
        state.counters["peak_added_per_picture"] = (peak - before) / picture;
        state.counters["peak_total_per_picture"] = peak / picture;
        state.counters["before_MiB"] = before / (1 << 20);
        state.counters["peak_MiB"] = peak / (1 << 20);
    }
}
BENCHMARK(BM_EditorSessionPeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
