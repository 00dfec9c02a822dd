#include "platform/Browser.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <functional>

namespace platform {
namespace {

bool WaitForLoad(QWebEngineView *browser, int limitMs, const std::function<void()> &start)
{
    QEventLoop loop;
    bool finished = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection =
        QObject::connect(browser, &QWebEngineView::loadFinished, &loop, [&](bool) {
            finished = true;
            loop.quit();
        });
    start();
    limit.start(limitMs);
    if (!finished) loop.exec();
    QObject::disconnect(connection);
    return finished;
}

}  // namespace

bool LoadAndWait(QWebEngineView *browser, const QUrl &url, int limitMs)
{
    return WaitForLoad(browser, limitMs, [&] { browser->load(url); });
}

bool ShowHtmlAndWait(QWebEngineView *browser, const QString &html, int limitMs)
{
    return WaitForLoad(browser, limitMs, [&] { browser->setHtml(html); });
}

void Navigate(QWebEngineView *browser, const QString &pathOrAddress)
{
    const QUrl url = QFileInfo(pathOrAddress).isAbsolute() ? QUrl::fromLocalFile(pathOrAddress)
                                                           : QUrl(pathOrAddress);
    if (browser->url() == url)
        browser->reload();
    else
        browser->load(url);
}

}  // namespace platform
