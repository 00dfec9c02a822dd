#include "ControlsFixture.h"

#include <QTest>

namespace {

using platform::BoxAnswer;
namespace fs = std::filesystem;

const QString kDeleteFailed = "Error: Cannot delete image file.";
const QString kNoBackup = "Images Backup Doesn't Exist! Operation aborted.";
const QString kRestoreQuestion =
    "Do you really want to restore all the default images (this will restore the original images for this template)?";
const QString kKeepQuestion = "Do you want to keep your custom (modified) images? (If you click \"No\" all custom "
                              "(modified) images will be deleted!)";

class ImageCommandsTest : public ControlsFixture {
protected:
    void OpenMeadowlark(const std::string &settings = "")
    {
        InstallSample("meadowlark");
        if (!settings.empty()) WriteTemplateFile("meadowlark", "quorlin_settings.xml", settings);
        OpenShown("meadowlark");
    }
    // Selects the Logo row and, without choosing it, the candidate `name`.
    void MarkLogoCandidate(const std::string &name)
    {
        ClickRow(Window().Ui()->ListBox6, 0);
        auto *candidates = Window().Ui()->ListBox7;
        candidates->setCurrentItem(candidates->findItems(QString::fromStdString(name), Qt::MatchExactly).front());
    }
    static QString DeleteQuestion(const QString &name) { return "Do you really want to delete the image \"" + name + "\"?"; }
    bool Has(const std::string &relative) { return folder.Exists("templates/meadowlark/" + relative); }
    void PressDelete(Qt::MouseButton button) { QTest::mouseClick(Window().Ui()->Button8, button); }

    // Edits the image folder: one file gone, one file new, one file changed.
    void ModifyImages(const std::string &added)
    {
        fs::remove(folder.Path("templates/meadowlark/images/logo/sun.jpg"));
        WriteTemplateFile("meadowlark", "images/logo/" + added, "new");
        WriteTemplateFile("meadowlark", "images/header/hills.jpg", "changed");
    }
    static bool Trashed(const std::string &name)
    {
        const fs::path trash = qgetenv("XDG_DATA_HOME").toStdString() + "/Trash/files";
        std::error_code error;
        for (auto entry = fs::recursive_directory_iterator(trash, error); entry != fs::recursive_directory_iterator();
             ++entry)
            if (entry->path().filename() == name) return true;
        return false;
    }
};

std::string Settings(const std::string &imageRoot, const std::string &backup)
{
    return "<q><s><item><imageroot>" + imageRoot + "</imageroot><imagebackup>" + backup +
           "</imagebackup><tempfile>preview.html</tempfile></item></s></q>";
}

}  // namespace

TEST_F(ImageCommandsTest, DeleteAsksAndOnlyYesDeletesAndReloads)
{
    OpenMeadowlark();
    ClickRow(Window().Ui()->ListBox6, 0);
    ClickRow(Window().Ui()->ListBox7, 2);
    ASSERT_EQ(Window().ImageTable().rows[0].fileName, "sun.jpg");
    MarkLogoCandidate("leaf.jpg");
    ScriptedBoxes answers({BoxAnswer::No, BoxAnswer::Cancel, BoxAnswer::Yes});
    PressDelete(Qt::LeftButton);
    PressDelete(Qt::LeftButton);
    EXPECT_TRUE(Has("images/logo/leaf.jpg"));
    EXPECT_EQ(Window().Ui()->ListBox7->count(), 3) << "nothing reloaded";

    PressDelete(Qt::LeftButton);
    EXPECT_EQ(answers.Texts(), QStringList(3, DeleteQuestion("leaf.jpg")));
    EXPECT_EQ(answers.Shown()[0].kind, platform::BoxKind::Confirm);
    EXPECT_FALSE(Has("images/logo/leaf.jpg"));
    EXPECT_TRUE(Has("default_images/logo/leaf.jpg"));
    EXPECT_EQ(Window().ImageTable().rows[0].fileName, "leaf.jpg") << "back to images.xml, now a missing file";
    EXPECT_EQ(Window().ImageTable().selected, -1);
    EXPECT_EQ(Window().Ui()->ListBox7->count(), 0);

    PressDelete(Qt::LeftButton);
    EXPECT_EQ(answers.Shown().size(), 3u) << "no candidate, no question";
}

TEST_F(ImageCommandsTest, DeleteRefusesFoldersMissingFilesAndPlacesOutside)
{
    InstallSample("meadowlark");
    folder.Write("templates/victim.jpg", "keep me");
    WriteTemplateFile("meadowlark", "images/logo/old/inner.jpg", "x");
    std::string images = ReadTemplateFile("meadowlark", "images.xml");
    images.replace(images.find("leaf.jpg"), 8, "../../../victim.jpg");
    WriteTemplateFile("meadowlark", "images.xml", images);
    OpenShown("meadowlark");
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Yes});
    MarkLogoCandidate("../../../victim.jpg");
    PressDelete(Qt::LeftButton);
    MarkLogoCandidate("old");
    PressDelete(Qt::LeftButton);
    EXPECT_EQ(answers.Texts(), QStringList({DeleteQuestion("../../../victim.jpg"), kDeleteFailed,
                                            DeleteQuestion("old"), kDeleteFailed}));
    EXPECT_EQ(folder.Read("templates/victim.jpg"), "keep me");
    EXPECT_TRUE(Has("images/logo/old/inner.jpg"));
    EXPECT_EQ(Window().ImageTable().selected, 0) << "rows are not reloaded after a failure";
}

TEST_F(ImageCommandsTest, RestoreNeedsAUsableBackupAndOnlyTheRightButton)
{
    OpenMeadowlark(Settings("images", "images/logo"));
    PressDelete(Qt::RightButton);
    for (const auto &[root, backup] : {std::pair{"images", "../elsewhere"}, {"images/logo", "images"},
                                       {"", "default_images"}, {"images", "missing"}}) {
        WriteTemplateFile("meadowlark", "quorlin_settings.xml", Settings(root, backup));
        Open("meadowlark");
        PressDelete(Qt::RightButton);
    }
    EXPECT_EQ(boxes.Texts(), QStringList(5, kNoBackup));
    EXPECT_TRUE(Has("images/logo/leaf.jpg") && Has("default_images/logo/leaf.jpg"));

    WriteTemplateFile("meadowlark", "quorlin_settings.xml", Settings("images", "default_images"));
    Open("meadowlark");
    ScriptedBoxes answers({BoxAnswer::No, BoxAnswer::Yes, BoxAnswer::Cancel});
    ModifyImages("edited.jpg");
    PressDelete(Qt::LeftButton);
    EXPECT_TRUE(answers.Shown().empty()) << "a left click never restores";
    PressDelete(Qt::RightButton);
    PressDelete(Qt::RightButton);
    EXPECT_EQ(answers.Texts(), QStringList({kRestoreQuestion, kRestoreQuestion, kKeepQuestion}));
    EXPECT_FALSE(Has("images/logo/sun.jpg"));
    EXPECT_TRUE(Has("images/logo/edited.jpg"));
}

TEST_F(ImageCommandsTest, RestoreKeepingModifiedImagesOnlyAddsWhatIsMissing)
{
    OpenMeadowlark();
    ModifyImages("edited.jpg");
    ForgetPreview();
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Yes});
    PressDelete(Qt::RightButton);
    EXPECT_EQ(answers.Texts(), QStringList({kRestoreQuestion, kKeepQuestion, "Operation Complete."}));
    EXPECT_EQ(ReadTemplateFile("meadowlark", "images/logo/sun.jpg"),
              ReadTemplateFile("meadowlark", "default_images/logo/sun.jpg"));
    EXPECT_TRUE(Has("images/logo/edited.jpg"));
    EXPECT_EQ(ReadTemplateFile("meadowlark", "images/header/hills.jpg"), "changed");
    EXPECT_TRUE(Rebuilt());
}

TEST_F(ImageCommandsTest, RestoreDiscardingRecyclesTheImageFolder)
{
    OpenMeadowlark();
    ModifyImages("edited-then-discarded.jpg");
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::No});
    PressDelete(Qt::RightButton);
    EXPECT_EQ(answers.Texts().last(), "Operation Complete.");
    EXPECT_TRUE(Has("images/logo/sun.jpg"));
    EXPECT_FALSE(Has("images/logo/edited-then-discarded.jpg"));
    EXPECT_FALSE(Has("images/default_images")) << "the backup replaces the folder, not goes into it";
    EXPECT_EQ(ReadTemplateFile("meadowlark", "images/header/hills.jpg"),
              ReadTemplateFile("meadowlark", "default_images/header/hills.jpg"));
    EXPECT_TRUE(Trashed("edited-then-discarded.jpg"));
}

TEST_F(ImageCommandsTest, KeepingRemakesAMissingImageFolderAndReportsAFailure)
{
    OpenMeadowlark();
    fs::remove_all(folder.Path("templates/meadowlark/images"));
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Yes, BoxAnswer::Yes});
    PressDelete(Qt::RightButton);
    EXPECT_EQ(answers.Texts().last(), "Operation Complete.");
    EXPECT_TRUE(Has("images/logo/sun.jpg"));

    fs::remove_all(folder.Path("templates/meadowlark/images"));
    WriteTemplateFile("meadowlark", "images", "a file where the folder belongs");
    ForgetPreview();
    PressDelete(Qt::RightButton);
    EXPECT_EQ(answers.Texts().last(),
              "Unknown error: cannot restore images from backup. You may need to reinstall Quorlin");
    EXPECT_TRUE(Rebuilt());
}
