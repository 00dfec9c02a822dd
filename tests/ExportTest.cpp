#include "TemplateFixture.h"
#include "builder/StripedListDelegate.h"
#include "platform/FolderChooser.h"

#include <QImage>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ExportTest : public TemplateFixture {
protected:
    // Opens a sample, generates its site and points the chooser at `target`.
    void GenerateInto(const std::string &target)
    {
        InstallSample("ledgerline");
        Open("ledgerline");
        Window().Ui()->PageControl1->setCurrentWidget(Window().Ui()->TabSheet3);
        fs::create_directories(folder.Path(target));
        ChooseFolder(target);
    }
    void ChooseFolder(const std::string &relative)
    {
        ASSERT_TRUE(Window().FolderChooser()->SetDirectory(QString::fromStdString(folder.Path(relative))));
    }
    QString Target() const { return form->Ui()->Edit2->text(); }
};

TEST_F(ExportTest, ExportCopiesTheOutputFolderIntoTheTarget)
{
    GenerateInto("out");
    const QString target = Target();
    Window().Ui()->BitBtn7->click();
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
    EXPECT_EQ(folder.Read("out/template/index.html"), ReadTemplateFile("ledgerline", "template/index.html"));
    for (const QString &file : Items(Window().Ui()->ListBox13))
        EXPECT_TRUE(folder.Exists("out/template/" + file.toStdString())) << file.toStdString();
    EXPECT_EQ(Target(), target) << "the chooser ends on the target";
    EXPECT_TRUE(Window().FolderChooser()->isVisibleTo(&Window()));
    EXPECT_TRUE(Window().DriveChooser()->isVisibleTo(&Window()));
}

TEST_F(ExportTest, ExportingAgainAsksBeforeReplacing)
{
    GenerateInto("out");
    Window().ExportTemplate();
    folder.Write("out/template/index.html", "edited by hand");
    ScriptedBoxes shown({platform::BoxAnswer::Cancel});
    Window().ExportTemplate();
    ASSERT_EQ(shown.Shown().size(), 2u) << shown.Texts().join('|').toStdString();
    EXPECT_EQ(shown.Shown()[0].kind, platform::BoxKind::Replace);
    EXPECT_EQ(shown.Texts()[1], "Operation Aborted... ");
    EXPECT_EQ(folder.Read("out/template/index.html"), "edited by hand");
}

TEST_F(ExportTest, ExportWithoutTargetCopiesNothing)
{
    GenerateInto("out");
    Window().Ui()->Edit2->setText("  ");
    Window().ExportTemplate();
    EXPECT_EQ(boxes.Texts(), QStringList{"No target Folder Selected!"});
    EXPECT_FALSE(folder.Exists("out/template"));
}

TEST_F(ExportTest, CreateMakesNestedFoldersAndMovesIntoThem)
{
    fs::create_directories(folder.Path("base"));
    ChooseFolder("base");
    auto *ui = Window().Ui();
    ui->LabeledEdit4->setText("outer\\inner");
    ui->Button19->click();
    EXPECT_TRUE(fs::is_directory(folder.Path("base/outer/inner")));
    EXPECT_EQ(fs::path(Target().toStdString()), fs::path(folder.Path("base/outer/inner")));
    EXPECT_TRUE(ui->LabeledEdit4->text().isEmpty());

    ChooseFolder("base");
    ui->LabeledEdit4->setText(" padded ");
    ui->Button19->click();
    EXPECT_TRUE(fs::is_directory(folder.Path("base/ padded "))) << "the name is taken as typed";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ExportTest, CreateRefusesBlankNamesConflictsAndVanishedFolders)
{
    fs::create_directories(folder.Path("base"));
    ChooseFolder("base");
    auto *ui = Window().Ui();
    ui->LabeledEdit4->setText("   ");
    ui->Button19->click();
    folder.Write("base/taken", "a file");
    ui->LabeledEdit4->setText("taken");
    ui->Button19->click();
    EXPECT_EQ(boxes.Texts(),
              (QStringList{"Please, fill in the name for the new folder!", "Error creating subfolder \"taken\""}));
    EXPECT_EQ(ui->LabeledEdit4->text(), "taken");
    EXPECT_EQ(fs::path(Target().toStdString()), fs::path(folder.Path("base")));

    fs::remove_all(folder.Path("base"));
    ui->LabeledEdit4->setText("new");
    Window().Button19Click();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_FALSE(folder.Exists("base"));
    EXPECT_EQ(ui->LabeledEdit4->text(), "new");
}

TEST_F(ExportTest, GoToMyDocumentsShowsTheDocumentsFolder)
{
    fs::create_directories(folder.Path("docs"));
    folder.Write("elsewhere/x", "");
    const std::string config = qgetenv("XDG_CONFIG_HOME").toStdString();
    fs::create_directories(config);
    std::ofstream(config + "/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << folder.Path("docs") << "\"\n";
    ChooseFolder("elsewhere");
    Window().Ui()->BitBtn15->click();
    EXPECT_EQ(fs::path(Target().toStdString()), fs::path(folder.Path("docs")));
    fs::remove(config + "/user-dirs.dirs");
}

TEST_F(ExportTest, WordWrapAndTabStripHeight)
{
    auto *ui = Window().Ui();
    for (const auto mode : {QsciScintilla::WrapWord, QsciScintilla::WrapNone}) {
        ui->CheckBox1->click();
        EXPECT_EQ(Window().HtmlView()->wrapMode(), mode);
        EXPECT_EQ(Window().CssView()->wrapMode(), mode);
    }

    ui->PageControl2->setCurrentIndex(4);
    EXPECT_EQ(ui->PageControl2->maximumHeight(), 30);
    ui->PageControl2->setCurrentIndex(1);
    EXPECT_EQ(ui->PageControl2->maximumHeight(), 207);
}

QColor PixelOfRow(QListWidget *list, int row)
{
    const QImage image = list->viewport()->grab().toImage();
    const QRect rect = list->visualItemRect(list->item(row));
    return image.pixelColor(rect.right() - 2, rect.center().y());
}

TEST_F(ExportTest, OwnerDrawnListsHaveStripedRowsOfFixedHeight)
{
    auto *ui = Window().Ui();
    for (QListWidget *list : {static_cast<QListWidget *>(ui->ListBox2), static_cast<QListWidget *>(ui->ListBox13)}) {
        list->resize(200, 120);
        list->addItems({"first", "second", "third", "fourth"});
        list->setCurrentRow(3);
        EXPECT_EQ(PixelOfRow(list, 0), QColor(255, 255, 255));
        EXPECT_EQ(PixelOfRow(list, 1), QColor(255, 251, 240));
        EXPECT_EQ(PixelOfRow(list, 2), QColor(255, 255, 255));
        EXPECT_EQ(PixelOfRow(list, 3), QColor(0, 0, 128));
    }
    EXPECT_EQ(ui->ListBox2->visualItemRect(ui->ListBox2->item(1)).height(), 16);
    EXPECT_EQ(ui->ListBox13->visualItemRect(ui->ListBox13->item(1)).height(), 13);
    for (QListWidget *list : {static_cast<QListWidget *>(ui->ListBox5), static_cast<QListWidget *>(ui->ListBox6),
                              static_cast<QListWidget *>(ui->ListBox10)})
        EXPECT_NE(dynamic_cast<StripedListDelegate *>(list->itemDelegate()), nullptr);
}

}  // namespace
