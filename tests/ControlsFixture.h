#pragma once

#include "TemplateFixture.h"

#include <filesystem>

// A main window with a template open, clicked as a user clicks it.
class ControlsFixture : public TemplateFixture {
protected:
    static std::string ItemFile(const std::string &items)
    {
        return "<?xml version=\"1.0\"?><r><c>" + items + "</c></r>";
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

    std::string openId;
};
