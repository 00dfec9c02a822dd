#include "TemplateFixture.h"
#include "platform/FolderChooser.h"

#include <Qsci/qsciscintilla.h>

namespace fs = std::filesystem;

namespace {

class ExportTest : public TemplateFixture {
protected:
    QString Target() const { return form->Ui()->Edit2->text(); }
};

TEST_F(ExportTest, ExportCopiesTheOutputFolderIntoTheTargetAndWithoutOneNothing)
{
    InstallSample("ledgerline");
    Open("ledgerline");
    ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
    fs::create_directories(folder.Path("out"));
    ASSERT_TRUE(Window().FolderChooser()->SetDirectory(QString::fromStdString(folder.Path("out"))));
    const QString target = Target();
    ui()->Edit2->setText("  ");
    Window().ExportTemplate();
    EXPECT_FALSE(folder.Exists("out/template"));
    ui()->Edit2->setText(target);
    ui()->BitBtn7->click();
    EXPECT_EQ(boxes.Texts(), QStringList{"No target Folder Selected!"});
    EXPECT_EQ(folder.Read("out/template/index.html"), ReadTemplateFile("ledgerline", "template/index.html"));
    for (const QString &file : Items(ui()->ListBox13))
        EXPECT_TRUE(folder.Exists("out/template/" + file.toStdString())) << file.toStdString();
    EXPECT_EQ(Target(), target) << "the chooser ends on the target";
    EXPECT_TRUE(Window().FolderChooser()->isVisibleTo(&Window()));
    EXPECT_TRUE(Window().DriveChooser()->isVisibleTo(&Window()));
    Window().show();
    EXPECT_LT(ui()->LabeledEdit4Label->geometry().right(), ui()->LabeledEdit4->geometry().left())
        << "the label stands on the box's left";
    EXPECT_TRUE(ui()->GroupBox2->isAncestorOf(ui()->BitBtn8)) << "help stands in the template files' group";
    EXPECT_FALSE(ui()->BitBtn7->icon().isNull());
    EXPECT_EQ(ui()->BitBtn7->layoutDirection(), Qt::RightToLeft) << "the glyph stands on the right";

    QStringList standingOverTheTarget;
    platform::SetBoxResponder([&](const platform::ShownBox &box) {
        const bool shown = Window().DriveChooser()->isVisible() && Window().FolderChooser()->isVisible() &&
                           Window().FileChooser()->isVisible();
        if (shown && Items(Window().FileChooser()).contains("template")) standingOverTheTarget << box.caption;
        return platform::BoxAnswer::Cancel;
    });
    ui()->BitBtn7->click();
    EXPECT_EQ(standingOverTheTarget, (QStringList{"Confirm File Replace", "Error"})) << "the second export's boxes";
    EXPECT_TRUE(Window().FileChooser()->isVisible());
}

TEST_F(ExportTest, CreateMakesNestedFoldersAndRefusesBlankNamesConflictsAndVanishedFolders)
{
    fs::create_directories(folder.Path("base"));
    ASSERT_TRUE(Window().FolderChooser()->SetDirectory(QString::fromStdString(folder.Path("base"))));
    folder.Write("base/taken", "a file");
    for (const char *name : {"   ", "taken", "outer\\inner"}) {
        ui()->LabeledEdit4->setText(name);
        ui()->Button19->click();
    }
    EXPECT_EQ(boxes.Texts(),
              (QStringList{"Please, fill in the name for the new folder!", "Error creating subfolder \"taken\""}));
    EXPECT_TRUE(fs::is_directory(folder.Path("base/outer/inner")));
    EXPECT_EQ(fs::path(Target().toStdString()), fs::path(folder.Path("base/outer/inner")));
    EXPECT_TRUE(ui()->LabeledEdit4->text().isEmpty());

    fs::remove_all(folder.Path("base"));
    ui()->LabeledEdit4->setText("new");
    Window().Button19Click();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_FALSE(folder.Exists("base"));
    EXPECT_EQ(ui()->LabeledEdit4->text(), "new");
}

TEST_F(ExportTest, TheChooserListsAndEntersFoldersWhoseNamesAreNotUtf8AndExportsIntoThem)
{
    InstallSample("ledgerline");
    Open("ledgerline");
    ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
    const std::string target = folder.Path("out/Ger\xE4te");
    fs::create_directories(target + "/sub\xFC");
    folder.Write("out/Ger\xE4te/caf\xE9.txt", "");
    DirectoryList *folders = Window().FolderChooser();
    ASSERT_TRUE(folders->SetDirectory(QString::fromStdString(folder.Path("out/"))));
    const auto found = folders->findItems(platform::FileNameToText("Ger\xE4te"), Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1);
    emit folders->itemDoubleClicked(found.front());
    EXPECT_EQ(platform::FileNameFromText(Target()), target);
    EXPECT_EQ(platform::FileNameFromText(folders->item(folders->count() - 1)->text().trimmed()), "sub\xFC");
    EXPECT_EQ(Items(Window().FileChooser()),
              (QStringList{platform::FileNameToText("sub\xFC"), platform::FileNameToText("caf\xE9.txt")}))
        << "folders first";
    Window().ExportTemplate();
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
    EXPECT_EQ(folder.Read("out/Ger\xE4te/template/index.html"), ReadTemplateFile("ledgerline", "template/index.html"));
    EXPECT_EQ(platform::FileNameFromText(Target()), target) << "the chooser ends on the target";
}

TEST_F(ExportTest, CodeViewsWrapOnRequest)
{
    for (const auto mode : {QsciScintilla::WrapWord, QsciScintilla::WrapNone}) {
        ui()->CheckBox1->click();
        EXPECT_EQ(Window().HtmlView()->wrapMode(), mode);
        EXPECT_EQ(Window().CssView()->wrapMode(), mode);
    }
}

}  // namespace
