#pragma once

#include "app/TForm1.h"
#include "platform/FileNameText.h"
#include "ScriptedBoxes.h"
#include "TempFiles.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// A program folder with templates in it and a main window on it, clicked as a user clicks it.
class TemplateFixture : public ::testing::Test {
protected:
    // The IDs of the templates that ship with the program.
    static QStringList Samples()
    {
        return QDir(QUORLIN_SOURCE_DIR "/data/templates").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    // Copies a template that ships with the program into the program folder.
    void InstallSample(const std::string &id)
    {
        std::filesystem::create_directories(folder.Path("templates"));
        std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/data/templates/" + id,
                              folder.Path("templates/" + id), std::filesystem::copy_options::recursive);
    }
    void WriteTemplateFile(const std::string &id, const std::string &relative, const std::string &content)
    {
        folder.Write("templates/" + id + "/" + relative, content);
    }
    std::string ReadTemplateFile(const std::string &id, const std::string &relative) const
    {
        return folder.Read("templates/" + id + "/" + relative);
    }
    // A small template with the given page and configuration files.
    void AddTemplate(const std::string &id, const std::string &page,
                     const std::vector<std::pair<std::string, std::string>> &files)
    {
        WriteTemplateFile(id, "settings.qrl", "Small\nMe\nFree\n");
        WriteTemplateFile(id, "index.html", page);
        WriteTemplateFile(id, "style_files.xml", ItemFile(""));
        for (const auto &[name, content] : files) WriteTemplateFile(id, name, content);
    }

    TForm1 &Window()
    {
        if (!form) form = std::make_unique<TForm1>(folder.Path());
        return *form;
    }
    Ui::TForm1 *ui() { return Window().Ui(); }
    // Selects the template's row as a user would and presses " Customize ".
    void Open(const std::string &id)
    {
        auto *list = Window().Ui()->ListView1;
        const auto rows = list->findItems(platform::FileNameToText(id), Qt::MatchExactly, 2);
        ASSERT_EQ(rows.size(), 1);
        list->setCurrentItem(rows.front());
        Window().Ui()->BitBtn10->click();
    }
    static QStringList Items(const QListWidget *list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
    static std::string ItemFile(const std::string &items) { return "<?xml version=\"1.0\"?><r><c>" + items + "</c></r>"; }

    void OpenShown(const std::string &id)
    {
        Open(id);
        Window().show();
        openId = id;
    }

    // Clicks an entry with the mouse, on whichever tab it lies.
    void ClickRow(QListWidget *list, int row)
    {
        auto *pages = Window().Ui()->PageControl2;
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->isAncestorOf(list)) pages->setCurrentIndex(i);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    std::string PreviewPath() { return folder.Path("templates/" + openId + "/" + Window().Names().TempFile); }
    std::string Preview() { return ReadTemplateFile(openId, Window().Names().TempFile); }
    bool PreviewContains(const std::string &text) { return Preview().find(text) != std::string::npos; }
    // Deletes the preview so that a rebuild shows by its coming back.
    void ForgetPreview() { std::filesystem::remove(PreviewPath()); }
    bool Rebuilt() { return std::filesystem::exists(PreviewPath()); }

    TempFolder folder;
    ScriptedBoxes boxes;
    std::unique_ptr<TForm1> form;
    std::string openId;
};
