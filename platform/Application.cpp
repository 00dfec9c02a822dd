#include "platform/Application.h"

#include "platform/MessageBoxes.h"

#include <QByteArray>
#include <QDir>
#include <QLoggingCategory>
#include <QQuickWindow>

#include <exception>
#include <unistd.h>

namespace platform {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ReportUncaughtError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportUncaughtError(QStringLiteral("Unknown error"));
    }
    return false;
}

namespace {

bool HasGpu(const QByteArray &engineFlags)
{
    if (engineFlags.contains("--disable-gpu")) return false;
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

}  // namespace

void PrepareBrowserEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    // Without a GPU, OpenGL compositing of the window costs more than it saves.
    if (!HasGpu(flags) && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // The engine's sandbox refuses to run as root.
    if (geteuid() == 0 && !flags.contains("--no-sandbox")) flags += " --no-sandbox";
    if (!flags.contains("--disable-background-networking"))
        flags += " --disable-background-networking --disable-component-update";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    // The engine lists its set-up on every start; shown only when the user sets rules of his own.
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

}  // namespace platform
