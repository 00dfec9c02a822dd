#include "bench/TemplateWindow.h"
#include "library/ConfigFiles.h"
#include "platform/FileBytes.h"
#include "ui_TForm1.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWebEngineView>
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace {

constexpr int kWaitLimitMs = 10000;

// True when the view's left edge shows `colour` somewhere down its height.
bool Shows(QWidget *view, QRgb colour)
{
    const QImage column = view->grab(QRect(3, 0, 1, view->height())).toImage();
    for (int y = 0; y < column.height(); ++y)
        if ((column.pixel(0, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

// Milliseconds from `start` to the moment the view shows `colour`.
double MsUntilShown(QWidget *view, QRgb colour, const QElapsedTimer &start)
{
    while (!Shows(view, colour)) {
        if (start.elapsed() > kWaitLimitMs) throw std::runtime_error("the preview never showed the colour");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return static_cast<double>(start.nsecsElapsed()) / 1e6;
}

struct Swatch {
    QString name;
    QRgb colour;
};
const Swatch kSwatches[] = {{"Navy", qRgb(0, 0, 128)}, {"Maroon", qRgb(128, 0, 0)}};

// The main window with a template open on its colours, and beside it a bare
// browser window of the preview's size that shows copies of the same pages.
class PreviewSetup {
public:
    PreviewSetup() : opened_("ledgerline"), form_(&opened_.Window())
    {
        Ui::TForm1 *ui = form_->Ui();
        form_->show();
        for (int i = 0; i < ui->PageControl2->count(); ++i)
            if (ui->PageControl2->widget(i)->isAncestorOf(ui->ColorListBox1)) ui->PageControl2->setCurrentIndex(i);
        ClickEntry(ui->ListBox2, 0);  // the page background
        const std::string preview = PreviewFilePath(opened_.Folder(), form_->Names());
        for (int i = 0; i < 2; ++i) {
            ClickColour(i);
            ReadFileBytes(preview, kPageFileCap, pages_[i]);
        }
        barePage_ = opened_.Folder() + "/bare.html";
        bare_.resize(ui->WebBrowser1->size());
        bare_.show();
        WritePage(0);
        bare_.load(QUrl::fromLocalFile(QString::fromStdString(barePage_)));
        WaitShown(&bare_, 0);
    }

    // A click on the other colour, timed to the moment the preview shows it.
    double ClickColour(int swatch)
    {
        QElapsedTimer start;
        start.start();
        ClickEntry(form_->Ui()->ColorListBox1, EntryOf(kSwatches[swatch].name));
        return MsUntilShown(form_->Ui()->WebBrowser1, kSwatches[swatch].colour, start);
    }

    // The bare window's part: write the page, reload, wait for it to show.
    double ReloadBare(int swatch)
    {
        QElapsedTimer start;
        start.start();
        WritePage(swatch);
        bare_.reload();
        return MsUntilShown(&bare_, kSwatches[swatch].colour, start);
    }

private:
    static void ClickEntry(QListWidget *list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    int EntryOf(const QString &name) const
    {
        return form_->Ui()->ColorListBox1->row(form_->Ui()->ColorListBox1->findItems(name, Qt::MatchExactly).front());
    }
    void WritePage(int swatch) const { WriteFileBytes(barePage_, pages_[swatch]); }
    void WaitShown(QWidget *view, int swatch)
    {
        QElapsedTimer start;
        start.start();
        MsUntilShown(view, kSwatches[swatch].colour, start);
    }

    TemplateWindow opened_;
    TForm1 *form_;
    QWebEngineView bare_;
    std::string barePage_;
    std::string pages_[2];
};

// From a click on a colour to the changed preview in the window, beside a bare
// browser window that only rewrites and reloads the same page.
void BM_PreviewAfterColourClick(benchmark::State &state)
{
    static auto &setup = *new PreviewSetup;  // never destroyed: its pages must not outlive the application
    double ours = 0, bare = 0;
    int swatch = 0;
    for (auto _ : state) {
        swatch = 1 - swatch;
        const double ms = setup.ClickColour(swatch);
        state.SetIterationTime(ms / 1000);
        ours += ms;
        bare += setup.ReloadBare(swatch);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["bare_reload_ms"] = bare / n;
    state.counters["ratio"] = ours / bare;
}
BENCHMARK(BM_PreviewAfterColourClick)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
