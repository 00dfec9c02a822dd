#include "TemplateFixture.h"
#include "platform/Browser.h"

#include <QDir>
#include <QImage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdlib>

namespace {

using platform::BoxAnswer;

QStringList Samples() { return QDir(QUORLIN_SOURCE_DIR "/data/templates").entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

class SamplesTest : public TemplateFixture {};

// The rectangle of the first element that `selector` finds, in page pixels.
QRect ElementRect(QWebEngineView &browser, const QString &selector)
{
    QRect rect;
    bool done = false;
    browser.page()->runJavaScript(
        "(() => { const r = document.querySelector('" + selector +
            "').getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()",
        [&](const QVariant &value) {
            const QVariantList box = value.toList();
            if (box.size() == 4)
                rect = QRectF(box[0].toReal(), box[1].toReal(), box[2].toReal(), box[3].toReal()).toAlignedRect();
            done = true;
        });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    return rect;
}

// Whether anything in the image stands out from its top-left pixel: smoothed
// edges of a text drawn in the background's own colour do not.
bool ShowsSomething(const QImage &image)
{
    const QColor corner = image.pixelColor(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int difference = std::max({std::abs(pixel.red() - corner.red()),
                                             std::abs(pixel.green() - corner.green()),
                                             std::abs(pixel.blue() - corner.blue())});
            if (difference > 48) return true;
        }
    return false;
}

}  // namespace

// A new user tries the samples first: each of them brings back a deleted picture.
TEST_F(SamplesTest, EverySampleRestoresADeletedPictureFromItsBackup)
{
    for (const QString &sample : Samples()) InstallSample(sample.toStdString());
    for (const QString &sample : Samples()) {
        const std::string id = sample.toStdString();
        OpenShown(id);
        ASSERT_FALSE(Window().ImageTable().rows.empty()) << id;
        const ImageRow &row = Window().ImageTable().rows.front();
        std::string picture = row.folder + row.fileName;
        std::replace(picture.begin(), picture.end(), '\\', '/');
        const std::string bytes = ReadTemplateFile(id, picture);
        std::filesystem::remove(folder.Path("templates/" + id + "/" + picture));

        ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Yes});
        QTest::mouseClick(ui()->Button8, Qt::RightButton);
        EXPECT_FALSE(answers.Texts().contains("Images Backup Doesn't Exist! Operation aborted.")) << id;
        EXPECT_TRUE(folder.Exists("templates/" + id + "/" + picture)) << id;
        EXPECT_EQ(ReadTemplateFile(id, picture), bytes) << id;
    }
}

// With a see-through content background the open menu tab must not melt into the menu bar.
TEST_F(SamplesTest, MeadowlarkKeepsItsOpenMenuTabVisibleOverASeeThroughContent)
{
    InstallSample("meadowlark");
    OpenShown("meadowlark");
    ClickRow(ui()->ListBox2, 1);
    ASSERT_EQ(Window().ColorTable().rows[1].title, "Content background");
    ui()->Button1->click();
    ASSERT_EQ(Window().ColorTable().rows[1].value, "transparent");

    QWebEngineView browser;
    browser.resize(900, 400);
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    ASSERT_TRUE(platform::LoadAndWait(&browser, QUrl::fromLocalFile(QString::fromStdString(PreviewPath()))));
    const QRect tab = ElementRect(browser, "#nav a.current");
    ASSERT_FALSE(tab.isEmpty());
    QImage shown;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        shown = browser.grab().toImage();
        return ShowsSomething(shown);
    }, 10000)) << "the page is drawn";
    EXPECT_TRUE(ShowsSomething(shown.copy(tab.adjusted(1, 1, -1, -1)))) << "the tab's text shows";
}
