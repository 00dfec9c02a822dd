#pragma once

#include <QString>

#include <string>

class QUrl;
class QWebEngineView;

namespace platform {

// How long a browser may take to load a page before the program goes on.
constexpr int kBrowserLoadLimitMs = 15000;

// Loads `url` and handles window events until the load has finished or the
// limit has passed. Returns whether the load finished in time.
bool LoadAndWait(QWebEngineView *browser, const QUrl &url, int limitMs = kBrowserLoadLimitMs);

// Shows `html` as the browser's document and waits as above.
bool ShowHtmlAndWait(QWebEngineView *browser, const QString &html,
                     int limitMs = kBrowserLoadLimitMs);

// From here on, pages load from disk only what lies inside `folder`, links
// resolved; a script's request for any other local file gets nothing.
// Addresses that are not files load as before.
void ConfineLocalFiles(const std::string &folder);

// The address of a local file, from the bytes of its path.
QUrl FileUrl(const std::string &path);

// Navigates to an absolute file path or a web address; an address already
// shown is reloaded.
void Navigate(QWebEngineView *browser, const std::string &pathOrAddress);

}  // namespace platform
