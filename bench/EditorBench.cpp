#include "app/Windows.h"
#include "bench/TemplateWindow.h"
#include "imaging/JpegCodec.h"
#include "imaging/TForm10.h"
#include "platform/FileBytes.h"
#include "ui_TForm10.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
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

// The meadowlark template open in the main window with the large photo in its
// photo folder; the editor is made by each benchmark.
class OpenTemplate {
public:
    OpenTemplate() : opened("meadowlark") { EncodeJpegFile(LargePicture(), opened.Folder() + "/" + kPhoto, 100); }

    // An editor showing the large photo, as "Tweak" opens it (without its modal loop).
    std::unique_ptr<TForm10> OpenEditor()
    {
        Form1 = &opened.Window();
        auto editor = std::make_unique<TForm10>(Form1);
        editor->setWindowTitle(kPhoto);
        editor->show();
        QCoreApplication::processEvents();
        return editor;
    }

private:
    TemplateWindow opened;
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
    std::string status;
    ReadFileBytes("/proc/self/status", kShortFileCap, status);
    const std::size_t line = status.find("\n" + field + ":");
    return line == std::string::npos ? 0 : std::atol(status.c_str() + line + field.size() + 2);
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
