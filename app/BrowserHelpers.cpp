#include "app/Helpers.h"

#include "platform/Browser.h"

#include <QUrl>

namespace {

// Every line of the text ends with CR LF, the last one too.
QString WithCrLfLines(const std::string &html)
{
    std::string text;
    text.reserve(html.size() + 2);
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < html.size() && html[i + 1] == '\n') ++i;
            text += "\r\n";
        } else {
            text += c;
        }
    }
    if (!html.empty() && html.back() != '\r' && html.back() != '\n') text += "\r\n";
    return QString::fromStdString(text);
}

}  // namespace

void LoadHtmlIntoBrowser(QWebEngineView *browser, const std::string &html)
{
    platform::LoadAndWait(browser, QUrl(QStringLiteral("about:blank")));
    platform::ShowHtmlAndWait(browser, WithCrLfLines(html));
}
