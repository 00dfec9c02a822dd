#include "platform/Browser.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
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

// Blocks every request for a local file outside one folder.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
public:
    void SetFolder(const QString &folder)
    {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        prefix_ = canonical.isEmpty() || canonical.endsWith('/') ? canonical : canonical + '/';
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl &url = info.requestUrl();
        if (url.isLocalFile() && !Admits(url.toLocalFile())) info.block(true);
    }

private:
    bool Admits(const QString &path) const
    {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return !prefix_.isEmpty() && !canonical.isEmpty() && (canonical + '/').startsWith(prefix_);
    }

    QString prefix_;
};

}  // namespace

void ConfineLocalFiles(const QString &folder)
{
    static LocalFileGuard guard;
    guard.SetFolder(folder);
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&guard);
}

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
