#include "TemplateFixture.h"
#include "platform/Browser.h"

#include <QImage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdlib>

namespace {

using platform::BoxAnswer;

using SamplesTest = TemplateFixture;

// Whether anything in the image stands out from its top-left pixel: smoothed
// edges of a text drawn in the background's own colour do not.
bool ShowsSomething(const QImage &image)
{
    const QRgb corner = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb pixel = image.pixel(x, y); std::max({std::abs(qRed(pixel) - qRed(corner)),
                    std::abs(qGreen(pixel) - qGreen(corner)), std::abs(qBlue(pixel) - qBlue(corner))}) > 48)
                return true;
    return false;
}

}  // namespace

// A new user tries the samples first: each of them brings back a deleted picture.
TEST_F(SamplesTest, EverySampleRestoresADeletedPictureFromItsBackup)
{
    std::deque<BoxAnswer> script;
    for (const QString &sample : Samples()) {
        InstallSample(sample.toStdString());
        script.insert(script.end(), {BoxAnswer::Yes, BoxAnswer::Yes, BoxAnswer::Ok});  // restore, keep, done
    }
    ScriptedBoxes answers(script);
    for (const QString &sample : Samples()) {
        const std::string id = sample.toStdString();
        OpenShown(id);
        ASSERT_FALSE(Window().ImageTable().rows.empty()) << id;
        const ImageRow &row = Window().ImageTable().rows.front();
        std::string picture = "templates/" + id + "/" + row.folder + row.fileName;
        std::replace(picture.begin(), picture.end(), '\\', '/');
        const std::string bytes = folder.Read(picture);
        std::filesystem::remove(folder.Path(picture));
        QTest::mouseClick(ui()->Button8, Qt::RightButton);
        EXPECT_TRUE(folder.Read(picture) == bytes) << id << ": " << picture << " restored as it was";
    }
    EXPECT_FALSE(answers.Texts().contains("Images Backup Doesn't Exist! Operation aborted."));
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
    QVariantList box;  // the open tab's x, y, width and height in page pixels
    browser.page()->runJavaScript("Object.values(document.querySelector('#nav a.current').getBoundingClientRect()"
                                  ".toJSON())", [&](const QVariant &value) { box = value.toList(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.size() >= 4; }, 10000));
    const QRect tab = QRectF(box[0].toReal(), box[1].toReal(), box[2].toReal(), box[3].toReal()).toAlignedRect();
    ASSERT_FALSE(tab.isEmpty());
    const auto tabShows = [&] { return ShowsSomething(browser.grab().toImage().copy(tab.adjusted(1, 1, -1, -1))); };
    EXPECT_TRUE(QTest::qWaitFor(tabShows, 10000)) << "the tab's text shows once the page is drawn";
}
