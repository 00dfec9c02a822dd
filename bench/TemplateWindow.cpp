#include "bench/TemplateWindow.h"

#include "ui_TForm1.h"

#include <filesystem>

TemplateWindow::TemplateWindow(const std::string &name) : name_(name)
{
    std::filesystem::create_directory(program_.path().toStdString() + "/templates");
    std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/data/templates/" + name, Folder(),
                          std::filesystem::copy_options::recursive);
    window_ = std::make_unique<TForm1>(program_.path().toStdString());
    auto *list = window_->Ui()->ListView1;
    list->setCurrentItem(list->findItems(QString::fromStdString(name), Qt::MatchExactly, 2).front());
    window_->Ui()->BitBtn10->click();
}

std::string TemplateWindow::Folder() const { return program_.path().toStdString() + "/templates/" + name_; }
