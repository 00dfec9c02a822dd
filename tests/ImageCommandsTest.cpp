#include "TemplateFixture.h"

namespace {

using platform::BoxAnswer;
namespace fs = std::filesystem;

const QString kNoBackup = "Images Backup Doesn't Exist! Operation aborted.";
const QString kRestore =
    "Do you really want to restore all the default images (this will restore the original images for this template)?";
const QString kKeep = "Do you want to keep your custom (modified) images? (If you click \"No\" all custom (modified) "
                      "images will be deleted!)";

QString DeleteQuestion(const QString &name) { return "Do you really want to delete the image \"" + name + "\"?"; }

std::string Settings(const std::string &imageRoot, const std::string &backup)
{
    return "<q><s><item><imageroot>" + imageRoot + "</imageroot><imagebackup>" + backup +
           "</imagebackup><tempfile>preview.html</tempfile></item></s></q>";
}

class ImageCommandsTest : public TemplateFixture {
protected:
    void SetUp() override { InstallSample("meadowlark"); }

    // Selects the Logo row and, without choosing it, the candidate `name`.
    void MarkLogoCandidate(const std::string &name)
    {
        ClickRow(ui()->ListBox6, 0);
        auto *candidates = ui()->ListBox7;
        candidates->setCurrentItem(candidates->findItems(QString::fromStdString(name), Qt::MatchExactly).front());
    }
    bool Has(const std::string &relative) { return folder.Exists("templates/meadowlark/" + relative); }
    std::string Image(const std::string &relative) { return ReadTemplateFile("meadowlark", relative); }
    void Press(Qt::MouseButton button) { QTest::mouseClick(ui()->Button8, button); }

    // One image gone, one new, one changed.
    void ModifyImages(const std::string &added)
    {
        fs::remove(folder.Path("templates/meadowlark/images/logo/sun.jpg"));
        WriteTemplateFile("meadowlark", "images/logo/" + added, "new");
        WriteTemplateFile("meadowlark", "images/header/hills.jpg", "changed");
    }
};

}  // namespace

TEST_F(ImageCommandsTest, DeleteAsksAndOnlyYesDeletesAndReloads)
{
    OpenShown("meadowlark");
    ClickRow(ui()->ListBox6, 0);
    ClickRow(ui()->ListBox7, 2);
    MarkLogoCandidate("leaf.jpg");
    ScriptedBoxes answers({BoxAnswer::No, BoxAnswer::Cancel, BoxAnswer::Yes});
    for (int press = 0; press < 3; ++press) Press(Qt::LeftButton);
    EXPECT_FALSE(Has("images/logo/leaf.jpg"));
    EXPECT_EQ(Window().ImageTable().rows[0].fileName, "leaf.jpg") << "back to images.xml, now a missing file";
    EXPECT_EQ(Window().ImageTable().selected, -1);
    EXPECT_EQ(ui()->ListBox7->count(), 0);
    Press(Qt::LeftButton);
    EXPECT_EQ(answers.Texts(), QStringList(3, DeleteQuestion("leaf.jpg"))) << "no candidate, no question";
    EXPECT_EQ(answers.Shown()[0].kind, platform::BoxKind::Confirm);
}

TEST_F(ImageCommandsTest, DeleteRefusesFoldersAndPlacesOutsideTheTemplate)
{
    folder.Write("templates/victim.jpg", "keep me");
    WriteTemplateFile("meadowlark", "images/logo/old/inner.jpg", "x");
    std::string images = Image("images.xml");
    WriteTemplateFile("meadowlark", "images.xml", images.replace(images.find("leaf.jpg"), 8, "../../../victim.jpg"));
    OpenShown("meadowlark");
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Yes});
    MarkLogoCandidate("../../../victim.jpg");
    Press(Qt::LeftButton);
    MarkLogoCandidate("old");
    Press(Qt::LeftButton);
    const QString failed = "Error: Cannot delete image file.";
    EXPECT_EQ(answers.Texts(), QStringList({DeleteQuestion("../../../victim.jpg"), failed, DeleteQuestion("old"), failed}));
    EXPECT_EQ(folder.Read("templates/victim.jpg"), "keep me");
    EXPECT_TRUE(Has("images/logo/old/inner.jpg"));
    EXPECT_EQ(Window().ImageTable().selected, 0) << "rows are not reloaded after a failure";
}

TEST_F(ImageCommandsTest, RestoreNeedsAUsableBackupNotNestedTheWayThatCannotGoAndTheRightButton)
{
    const QString nested = "The image folder and its backup lie inside one another. Operation aborted.";
    const struct {
        const char *root, *backup;
        std::deque<BoxAnswer> answers;
        QStringList texts;
    } cases[] = {{"images", "../elsewhere", {}, {kNoBackup}},
                 {"", "default_images", {}, {kNoBackup}},
                 {"images", "missing", {}, {kNoBackup}},
                 {"images", "default_images", {BoxAnswer::No}, {kRestore}},
                 {"images", "default_images", {BoxAnswer::Yes, BoxAnswer::Cancel}, {kRestore, kKeep}},
                 {"images", "images/logo", {BoxAnswer::Yes, BoxAnswer::No}, {kRestore, kKeep, nested}},
                 {"images", "images/logo", {BoxAnswer::Yes, BoxAnswer::Yes}, {kRestore, kKeep, "Operation Complete."}},
                 {"images/logo", "images", {BoxAnswer::Yes, BoxAnswer::Yes}, {kRestore, kKeep, nested}}};
    ModifyImages("edited.jpg");
    for (const auto &c : cases) {
        WriteTemplateFile("meadowlark", "quorlin_settings.xml", Settings(c.root, c.backup));
        Open("meadowlark");
        ScriptedBoxes answers(c.answers);
        Press(Qt::LeftButton); // no candidate to delete; a left click never restores
        Press(Qt::RightButton);
        EXPECT_EQ(answers.Texts(), c.texts) << c.root << " " << c.backup;
    }
    EXPECT_FALSE(Has("images/logo/sun.jpg")) << "declined or cancelled: nothing restored";
    EXPECT_TRUE(Has("images/leaf.jpg") && Has("images/logo/leaf.jpg")) << "kept: the backup copied, nothing recycled";
}

TEST_F(ImageCommandsTest, RestoreDiscardingRecyclesTheImageFolderAndKeepingOnlyAddsWhatIsMissing)
{
    OpenShown("meadowlark");
    ModifyImages("discarded.jpg");
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Ok, BoxAnswer::Yes, BoxAnswer::Yes});
    Press(Qt::RightButton);
    EXPECT_EQ(answers.Texts().last(), "Operation Complete.");
    EXPECT_TRUE(Has("images/logo/sun.jpg"));
    EXPECT_FALSE(Has("images/logo/discarded.jpg") || Has("images/default_images"));
    EXPECT_EQ(Image("images/header/hills.jpg"), Image("default_images/header/hills.jpg"));
    const fs::path trash = qgetenv("XDG_DATA_HOME").toStdString() + "/Trash/files";
    EXPECT_TRUE(std::ranges::any_of(fs::recursive_directory_iterator(trash),
                                    [](const auto &entry) { return entry.path().filename() == "discarded.jpg"; }));

    ModifyImages("edited.jpg");
    ForgetPreview();
    Press(Qt::RightButton);
    EXPECT_EQ(answers.Texts().mid(3), QStringList({kRestore, kKeep, "Operation Complete."}));
    EXPECT_EQ(Image("images/logo/sun.jpg"), Image("default_images/logo/sun.jpg"));
    EXPECT_TRUE(Has("images/logo/edited.jpg"));
    EXPECT_EQ(Image("images/header/hills.jpg"), "changed");
    EXPECT_TRUE(Rebuilt());

    fs::remove_all(folder.Path("templates/meadowlark/images"));
    WriteTemplateFile("meadowlark", "images", "a file where the folder belongs");
    ForgetPreview();
    ScriptedBoxes yes({BoxAnswer::Yes, BoxAnswer::Yes});
    Press(Qt::RightButton);
    EXPECT_EQ(yes.Texts().last(),
              "Unknown error: cannot restore images from backup. You may need to reinstall Quorlin");
    EXPECT_TRUE(Rebuilt());
}

TEST_F(ImageCommandsTest, RestoreKeepingNeverWritesThroughALinkInTheImageFolder)
{
    TempFolder outside;
    outside.Write("elsewhere/mine.txt", "mine");
    const auto untouched = outside.Snapshot("");
    OpenShown("meadowlark");
    fs::remove_all(folder.Path("templates/meadowlark/images/logo"));
    fs::remove(folder.Path("templates/meadowlark/images/header/hills.jpg"));
    fs::create_directory_symlink(outside.Path("elsewhere"), folder.Path("templates/meadowlark/images/logo"));
    ScriptedBoxes answers({BoxAnswer::Yes, BoxAnswer::Yes});
    Press(Qt::RightButton);
    EXPECT_EQ(answers.Texts().last(), "Operation Complete.");
    EXPECT_EQ(outside.Snapshot(""), untouched);
    EXPECT_EQ(Image("images/header/hills.jpg"), Image("default_images/header/hills.jpg")) << "the rest is restored";
}
