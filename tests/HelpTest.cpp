#include "TemplateFixture.h"
#include "WhileShown.h"
#include "app/Windows.h"
#include "help/HelpTopics.h"
#include "help/ThelpDialog.h"
#include "imaging/TForm5.h"
#include "ui_ThelpDialog.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest/QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::string kHelpSource = std::string(QUORLIN_SOURCE_DIR) + "/data/help/";

class HelpTest : public TemplateFixture {
protected:
    void SetUp() override { helpDialog = new ThelpDialog(&Window()); }
    void TearDown() override { helpDialog = nullptr; }

    // Uses the control named `name` as the user would and closes the help
    // window as soon as it is shown; returns the page it was given.
    std::string PageShownBy(const QString &name)
    {
        const auto pending = WhileShown(helpDialog, [] { helpDialog->Ui()->BitBtn1->click(); });
        if (auto *button = Window().findChild<QPushButton *>(name)) button->click();
        else if (auto *action = Window().findChild<QAction *>(name)) action->trigger();
        EXPECT_TRUE(pending->Done()) << name.toStdString();
        EXPECT_FALSE(helpDialog->isVisible());
        return helpDialog->PageURL();
    }
};

}  // namespace

TEST_F(HelpTest, EveryHelpControlOfTheMainWindowShowsItsPage)
{
    const std::pair<const char *, const char *> controls[] = {
        {"BitBtn1", "select_colors.html"}, {"BitBtn2", "presets.html"},   {"BitBtn3", "fonts.html"},
        {"BitBtn4", "images.html"},        {"BitBtn5", "layouts.html"},   {"BitBtn8", "export.html"},
        {"BitBtn11", "select_template.html"}, {"BitBtn17", "tweak.html"}, {"BitBtn19", "deleteimage.html"},
        {"BitBtn9", "index.html"},         {"BitBtn12", "about.html"},    {"Overview1", "index.html"},
        {"About1", "about.html"},
    };
    EXPECT_EQ(helpDialog->PageURL(), "about:blank");
    for (const auto &[control, page] : controls)
        EXPECT_EQ(PageShownBy(control), folder.Path("help/") + page) << control;
}

TEST_F(HelpTest, AnyOtherTagShowsTheOverviewAndTheBrowserFollowsThePage)
{
    folder.Write("help/index.html", "<p>Overview</p>");
    QObject stranger;
    stranger.setProperty("Tag", 4);
    QTimer::singleShot(0, helpDialog, &QDialog::accept);
    Window().HelpRequested(&stranger);
    EXPECT_EQ(helpDialog->PageURL(), folder.Path("help/index.html"));
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(folder.Path("help/index.html")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return helpDialog->Ui()->WebBrowser1->url() == page; }, 10000));
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
