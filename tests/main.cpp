#include "platform/Application.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Trash, documents folder and settings of the run stay inside one temporary folder.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-logging");

    platform::PrepareBrowserEngine();
    platform::Application app(argc, argv);
    app.setApplicationName("Quorlin");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
