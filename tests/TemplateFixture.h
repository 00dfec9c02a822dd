#pragma once

#include "app/TForm1.h"
#include "platform/FileNameText.h"
#include "ScriptedBoxes.h"
#include "TempFiles.h"
#include "ui_TForm1.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// A program folder with templates in it and a main window on it.
class TemplateFixture : public ::testing::Test {
protected:
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

    TempFolder folder;
    ScriptedBoxes boxes;
    std::unique_ptr<TForm1> form;
};
