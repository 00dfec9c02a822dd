#include "app/TForm1.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

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
    PreviewSetup()
    {
        std::filesystem::create_directory(folder_.path().toStdString() + "/templates");
        std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/data/templates/ledgerline",
                              folder_.path().toStdString() + "/templates/ledgerline",
                              std::filesystem::copy_options::recursive);
        form_ = std::make_unique<TForm1>(folder_.path().toStdString());
        Ui::TForm1 *ui = form_->Ui();
        ui->ListView1->setCurrentItem(ui->ListView1->topLevelItem(0));
        ui->BitBtn10->click();
        form_->show();
        for (int i = 0; i < ui->PageControl2->count(); ++i)
            if (ui->PageControl2->widget(i)->isAncestorOf(ui->ColorListBox1)) ui->PageControl2->setCurrentIndex(i);
        ClickEntry(ui->ListBox2, 0);  // the page background
        const QString preview = folder_.path() + "/templates/ledgerline/" +
                                QString::fromStdString(form_->Names().TempFile);
        for (int i = 0; i < 2; ++i) {
            ClickColour(i);
            pages_[i] = ReadAll(preview);
        }
        barePage_ = folder_.path() + "/templates/ledgerline/bare.html";
        bare_.resize(ui->WebBrowser1->size());
        bare_.show();
        WritePage(0);
        bare_.load(QUrl::fromLocalFile(barePage_));
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
    static QByteArray ReadAll(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    void WritePage(int swatch) const
    {
        QFile file(barePage_);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(pages_[swatch]);
    }
    void WaitShown(QWidget *view, int swatch)
    {
        QElapsedTimer start;
        start.start();
        MsUntilShown(view, kSwatches[swatch].colour, start);
    }

    QTemporaryDir folder_;
    std::unique_ptr<TForm1> form_;
    QWebEngineView bare_;
    QString barePage_;
    QByteArray pages_[2];
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
