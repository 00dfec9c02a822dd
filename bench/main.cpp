#include "platform/Application.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Copies show progress dialogs, the editor's benchmarks open a main window and
// the trash needs the user's data folder: the benchmarks run inside an
// application, with the trash in a temporary folder.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-logging");
    platform::PrepareBrowserEngine();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
