#include "platform/Browser.h"

#include "platform/RealPath.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <filesystem>
#include <functional>
#include <string>

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

// The canonical form of a path, links resolved; empty when it does not exist.
std::filesystem::path Canonical(const std::string &path)
{
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::canonical(path, error);
    return error ? std::filesystem::path() : canonical;
}

// The path of a file address as the bytes of the file's name.
std::string LocalPath(const QUrl &url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

// Blocks every request for a local file outside one folder.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
public:
    void SetFolder(const std::string &folder) { folder_ = Canonical(folder); }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl &url = info.requestUrl();
        if (url.isLocalFile() && !Admits(LocalPath(url))) info.block(true);
    }

private:
    bool Admits(const std::string &path) const
    {
        const std::filesystem::path canonical = Canonical(path);
        return !folder_.empty() && !canonical.empty() && IsOrLiesIn(canonical, folder_);
    }

    std::filesystem::path folder_;
};

}  // namespace

void ConfineLocalFiles(const std::string &folder)
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

QUrl FileUrl(const std::string &path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

void Navigate(QWebEngineView *browser, const std::string &pathOrAddress)
{
    const QUrl url = pathOrAddress.starts_with('/') ? FileUrl(pathOrAddress)
                                                    : QUrl(QString::fromStdString(pathOrAddress));
    if (browser->url() == url)
        browser->reload();
    else
        browser->load(url);
}

}  // namespace platform
