#include "TemplateFixture.h"

#include <QFocusEvent>
#include <gmock/gmock.h>

namespace {

struct PresetTab {
    QLineEdit *nameBox;
    QListWidget *list;
    QPushButton *save, *apply, *remove;
    std::string folder;
};

class PresetsTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        InstallSample("meadowlark");
        OpenShown("meadowlark");
    }
    enum Kind { kColours, kImages, kLayouts };
    PresetTab Tab(Kind kind) const
    {
        auto *u = form->Ui();
        const PresetTab tabs[] = {{u->LabeledEdit2, u->ListBox4, u->Button4, u->Button3, u->Button5, "colors"},
                                  {u->LabeledEdit3, u->ListBox8, u->Button15, u->Button18, u->Button16, "images"},
                                  {u->LabeledEdit5, u->ListBox14, u->Button22, u->Button20, u->Button21, "layouts"}};
        return tabs[kind];
    }
    std::string PresetFile(const PresetTab &tab, const std::string &name) const
    {
        return "templates/meadowlark/presets/" + tab.folder + "/" + name + ".xml";
    }
    static void Save(const PresetTab &tab, const QString &name)
    {
        tab.nameBox->setText(name);
        tab.save->click();
    }
    static void Select(const PresetTab &tab, const QString &name)
    {
        const auto found = tab.list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        tab.list->setCurrentItem(found.front());
    }
};

}  // namespace

TEST_F(PresetsTest, ColourPresetSavedAppliedAndDeletedAndRefusedNamesStayInTheBox)
{
    const PresetTab tab = Tab(kColours);
    auto &rows = Window().ColorTable().rows;
    const std::string original = Preview();
    EXPECT_EQ(tab.nameBox->text(), "[Enter Name of Preset Here]");
    tab.save->click();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(tab.nameBox, &focus);
    EXPECT_EQ(tab.nameBox->text(), "");
    Save(tab, "Evening");
    Save(tab, "Morning");
    EXPECT_EQ(tab.nameBox->text(), "");
    Save(tab, "Morning");
    Save(tab, "../../colors");
    QCoreApplication::sendEvent(tab.nameBox, &focus);
    EXPECT_EQ(tab.nameBox->text(), "../../colors") << "a refused name stays, and only the prompt is cleared";
    EXPECT_EQ(boxes.Texts(), (QStringList{"Please, enter a name for this preset!", "Such Preset Already Exists!",
                                          "Error Saving Preset. Please, be sure you are using only letters and "
                                          "numbers in the preset name!"}));
    EXPECT_EQ(Items(tab.list), (QStringList{"Evening", "Morning"}));
    const std::string evening = "templates/meadowlark/presets/colors/Evening.XML";  // as made on Windows
    std::filesystem::rename(folder.Path(PresetFile(tab, "Evening")), folder.Path(evening));

    rows[0].value = "#000000";
    Window().Rebuildtemplate();
    ASSERT_NE(Preview(), original);
    Select(tab, "Evening");
    tab.apply->click();
    EXPECT_EQ(rows[0].value, "#DDE5D3");
    EXPECT_EQ(Preview(), original);
    EXPECT_TRUE(tab.list->selectedItems().isEmpty());
    EXPECT_EQ(ui()->LabeledEdit1->text(), "");

    ScriptedBoxes answers({platform::BoxAnswer::No, platform::BoxAnswer::Cancel, platform::BoxAnswer::Yes});
    for (int press = 0; press < 3; ++press) {
        Select(tab, "Evening");
        tab.remove->click();
    }
    EXPECT_EQ(answers.Texts(), QStringList(3, "Are you sure you really want to delete the preset \"Evening\"?"));
    EXPECT_FALSE(folder.Exists(evening));
    EXPECT_EQ(Items(tab.list), QStringList{"Morning"});
    EXPECT_TRUE(tab.list->selectedItems().isEmpty()) << "no other preset is chosen for the next delete";
}

TEST_F(PresetsTest, ApplyRereadsTheListAndDeleteFailureKeepsTheEntry)
{
    for (const PresetTab &tab : {Tab(kImages), Tab(kLayouts)}) {
        Save(tab, "A");
        Save(tab, "B");
        std::filesystem::copy_file(folder.Path(PresetFile(tab, "A")), folder.Path(PresetFile(tab, "C")));
        std::filesystem::remove(folder.Path(PresetFile(tab, "B")));
        Select(tab, "A");
        tab.apply->click();
        EXPECT_THAT(Items(tab.list), testing::UnorderedElementsAre("A", "C")) << tab.folder;

        std::filesystem::remove(folder.Path(PresetFile(tab, "C")));
        folder.Write(PresetFile(tab, "C") + "/inside", "x");
        ScriptedBoxes answers({platform::BoxAnswer::Yes});
        Select(tab, "C");
        tab.remove->click();
        EXPECT_EQ(answers.Texts().value(1), "Error: Cannot Delete Preset.") << tab.folder;
        EXPECT_THAT(Items(tab.list), testing::UnorderedElementsAre("A", "C"));
        tab.list->clearSelection();  // no entry left chosen for the next tab's buttons
    }
}

TEST_F(PresetsTest, PresetFolderLeadingOutIsNeitherListedNorWritten)
{
    folder.Write("x/colors/user.xml", "<r><c><item><title>Ink</title></item></c></r>");
    std::filesystem::create_directory_symlink(folder.Path("x"), folder.Path("templates/meadowlark/presets"));
    const auto outside = folder.Snapshot("x");
    const PresetTab tab = Tab(kColours);
    ScriptedBoxes answers({platform::BoxAnswer::Ok, platform::BoxAnswer::Yes, platform::BoxAnswer::Ok,
                           platform::BoxAnswer::Ok, platform::BoxAnswer::Yes});
    for (const std::string root : {"presets", "../../x"}) {
        WriteTemplateFile("meadowlark", "quorlin_settings.xml",
                          "<q><s><item><presetroot>" + root + "</presetroot></item></s></q>");
        Open("meadowlark");
        EXPECT_EQ(tab.list->count(), 0) << root;
        Save(tab, "mine");
        tab.list->addItem("user");  // as listed before the folder changed
        Select(tab, "user");
        tab.remove->click();
    }
    EXPECT_EQ(folder.Snapshot("x"), outside);
    const QStringList refusals{"Error Saving Preset. The preset folder lies outside the template's folder.",
                               "Are you sure you really want to delete the preset \"user\"?",
                               "Error: Cannot Delete Preset."};
    EXPECT_EQ(answers.Texts(), refusals + refusals);
}

TEST_F(PresetsTest, ImagePresetSetsFileAndFolderOfTheRowsTheFileListAndThePreview)
{
    const PresetTab tab = Tab(kImages);
    const auto &rows = Window().ImageTable().rows;
    ClickRow(ui()->ListBox6, 1);
    ClickRow(ui()->ListBox7, 1);  // lake.jpg
    Save(tab, "Lake");
    ClickRow(ui()->ListBox7, 0);  // hills.jpg
    folder.Write(PresetFile(tab, "Moved"), ItemFile("<item><image>Header picture</image><var>images/photos/</var>"
                                                    "<url>room.jpg</url></item>"));
    const std::tuple<QString, std::string, std::string> presets[] = {{"Lake", "images/header/", "lake.jpg"},
                                                                      {"Moved", "images/photos/", "room.jpg"}};
    for (const auto &[name, imageFolder, file] : presets) {
        Select(tab, name);
        tab.apply->click();
        EXPECT_EQ(rows[1].folder + "|" + rows[1].fileName, imageFolder + "|" + file) << name.toStdString();
        EXPECT_EQ(Items(ui()->ListBox7).value(ui()->ListBox7->currentRow()).toStdString(), file);
        EXPECT_TRUE(PreviewContains("src=\"" + imageFolder + file + "\""));
    }
    EXPECT_EQ(Items(ui()->ListBox7), (QStringList{"breakfast.jpg", "garden.jpg", "room.jpg"}));
    EXPECT_EQ(rows[0].folder + rows[0].fileName, "images/logo/leaf.jpg") << "the other rows as the preset saved them";
}
