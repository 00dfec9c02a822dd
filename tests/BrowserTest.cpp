#include "platform/Application.h"
#include "platform/Browser.h"
#include "tests/TempFiles.h"

#include <QImage>
#include <QLoggingCategory>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

std::string Evaluate(QWebEngineView &browser, const QString &script)
{
    std::string result;
    bool done = false;
    browser.page()->runJavaScript(script, [&](const QVariant &value) {
        result = value.toString().toStdString();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    return result;
}

// A page that reads local files from its script and shows its own picture,
// style sheet and script.
constexpr const char *kProbePage = R"(<html><head><link rel="stylesheet" href="style.css">
<script src="script.js"></script><script>
function read(url) {
  try { const x = new XMLHttpRequest(); x.open('GET', url, false); x.send(); return x.responseText; }
  catch (e) { return ''; }
}
</script></head><body><img id="pic" src="pic.png"></body></html>)";

TEST(BrowserTest, PagesReadLocalFilesOnlyInsideTheProgramFolder)
{
    TempFolder temp;
    temp.Write("outside/secret.txt", "secret");
    temp.Write("program/templates/t/page.html", kProbePage);
    temp.Write("program/templates/t/style.css", "body { margin-left: 17px; }");
    temp.Write("program/templates/t/script.js", "var scriptRan = 'yes';");
    temp.Write("program/templates/t/own.txt", "own");
    QImage(4, 3, QImage::Format_RGB32).save(QString::fromStdString(temp.Path("program/templates/t/pic.png")));
    std::filesystem::create_directory_symlink(temp.Path("outside"), temp.Path("program/templates/t/leak"));

    platform::ConfineLocalFiles(temp.Path("program"));
    QWebEngineView browser;
    const QString page = QString::fromStdString(temp.Path("program/templates/t/page.html"));
    ASSERT_TRUE(platform::LoadAndWait(&browser, QUrl::fromLocalFile(page)));

    const QString outside = QUrl::fromLocalFile(QString::fromStdString(temp.Path("outside/secret.txt"))).toString();
    EXPECT_EQ(Evaluate(browser, "read('own.txt')"), "own");
    for (const QString &url : {outside, QString("leak/secret.txt"), QString("../../../outside/secret.txt")})
        EXPECT_EQ(Evaluate(browser, "read('" + url + "')"), "") << url.toStdString();
    EXPECT_EQ(Evaluate(browser, "document.getElementById('pic').naturalWidth"), "4");
    EXPECT_EQ(Evaluate(browser, "getComputedStyle(document.body).marginLeft"), "17px");
    EXPECT_EQ(Evaluate(browser, "scriptRan"), "yes");
}

// The engine's set-up report clutters every start; rules of the user's own bring it back.
TEST(BrowserTest, EngineSetUpReportIsQuietUnlessTheUserSetsLoggingRules)
{
    platform::PrepareBrowserEngine();
    const QLoggingCategory engine("qt.webenginecontext");
    EXPECT_EQ(engine.isInfoEnabled(), qEnvironmentVariableIsSet("QT_LOGGING_RULES"));
    EXPECT_TRUE(engine.isWarningEnabled());
}

}  // namespace
