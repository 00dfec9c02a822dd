#include "TemplateFixture.h"
#include "OpenedAddresses.h"
#include "WhileShown.h"
#include "app/Windows.h"
#include "help/HelpTopics.h"
#include "help/WebLinks.h"
#include "help/ThelpDialog.h"
#include "imaging/TForm5.h"
#include "ui_ThelpDialog.h"

#include <QAction>
#include <QRegularExpression>
#include <QWebEngineView>

#include <set>

namespace {

const std::string kHelpSource = std::string(QUORLIN_SOURCE_DIR) + "/data/help/";

class HelpTest : public TemplateFixture {
protected:
    void SetUp() override { helpDialog = new ThelpDialog(&Window()); }
    void TearDown() override { helpDialog = nullptr; }
};

}  // namespace

TEST_F(HelpTest, HelpControlsShowTheirPageAnyOtherTagTheOverviewAndTheBrowserFollows)
{
    folder.Write("help/index.html", "<p>Overview</p>");
    EXPECT_EQ(helpDialog->PageURL(), "about:blank");
    QObject stranger;
    stranger.setProperty("Tag", 4);
    const std::pair<std::function<void()>, const char *> requests[] = {
        {[&] { ui()->BitBtn11->click(); }, "select_template.html"},
        {[&] { ui()->About1->trigger(); }, "about.html"},
        {[&] { Window().HelpRequested(&stranger); }, "index.html"},
    };
    for (const auto &[request, page] : requests) {
        const auto pending = WhileShown(helpDialog, [] { helpDialog->Ui()->BitBtn1->click(); });
        request();
        EXPECT_TRUE(pending->Done()) << page;
        EXPECT_EQ(helpDialog->PageURL(), folder.Path("help/") + page);
    }
    const QUrl overview = QUrl::fromLocalFile(QString::fromStdString(folder.Path("help/index.html")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return helpDialog->Ui()->WebBrowser1->url() == overview; }, 10000));
}

TEST_F(HelpTest, EveryTopicPageAndEveryLinkOfThePagesExists)
{
    for (int tag : {0, 1, 2, 3, 4, 7, 8, 10, 11, 12, 13, 14, 16, 99})
        EXPECT_TRUE(std::filesystem::is_regular_file(kHelpSource + HelpPageForTag(tag))) << tag;
    const QRegularExpression localLink(QStringLiteral("(?:href|src)=\"([^\":#]+)\""));
    for (const auto &entry : std::filesystem::directory_iterator(kHelpSource)) {
        std::ostringstream text;
        text << std::ifstream(entry.path()).rdbuf();
        for (const auto &link : localLink.globalMatch(QString::fromStdString(text.str())))
            EXPECT_TRUE(std::filesystem::exists(kHelpSource + link.captured(1).toStdString()))
                << entry.path() << " links to " << link.captured(1).toStdString();
    }
}

TEST_F(HelpTest, RestoredWindowsStayWhereTheUserPutThemAndEscapeClosesHelpFromTheBrowser)
{
    TForm5 imageBrowser(&Window());
    for (QDialog *window : std::initializer_list<QDialog *>{&imageBrowser, helpDialog}) {
        window->show();
        window->move(window->pos() + QPoint(40, 30));
        const QPoint moved = window->pos();
        window->setWindowState(Qt::WindowMinimized);
        window->setWindowState(Qt::WindowNoState);
        EXPECT_EQ(window->pos(), moved) << window->metaObject()->className();
    }
    helpDialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(helpDialog));
    QTest::keyClick(helpDialog->Ui()->WebBrowser1->focusProxy(), Qt::Key_Escape);
    EXPECT_FALSE(helpDialog->isVisible());
}

TEST_F(HelpTest, WebLinksOfTheHelpMenuOpenTheirOwnPages)
{
    OpenedAddresses opened;
    for (QAction *link : {ui()->ContactUs1, ui()->VisittheForum1, ui()->Quorlincom1}) link->trigger();
    EXPECT_EQ(opened.addresses, (std::vector<std::string>{weblinks::kContact, weblinks::kForum, weblinks::kHome}));
    EXPECT_EQ(std::set(opened.addresses.begin(), opened.addresses.end()).size(), 3) << "three different pages";
    EXPECT_TRUE(boxes.Shown().empty());
}
