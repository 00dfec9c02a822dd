#include "app/TForm1.h"

#include "library/Catalogue.h"
#include "library/ConfigFiles.h"
#include "platform/Browser.h"
#include "platform/FileBytes.h"
#include "platform/FileNameText.h"
#include "platform/FolderLock.h"
#include "platform/MessageBoxes.h"
#include "ui_TForm1.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>

#include <optional>
#include <stdexcept>

namespace {

constexpr int kIdColumn = 2;

void SaveText(const std::string &path, const std::string &text)
{
    if (!WriteFileBytes(path, text)) throw std::runtime_error("Cannot create file \"" + path + "\".");
}

QTreeWidgetItem *CatalogueRow(const TemplateEntry &entry)
{
    return new QTreeWidgetItem(QStringList{QString::fromStdString(entry.title),
                                           QString::fromStdString(entry.author),
                                           platform::FileNameToText(entry.folder),
                                           QString::fromStdString(entry.license)});
}

}  // namespace

void TForm1::Reload_template_list()
{
    StringList folders;
    ListSubfolders(AppDir + "templates/*.*", faDirectory, folders);
    std::vector<TemplateEntry> entries;
    for (const std::string &folder : folders)
        entries.push_back(ReadTemplateEntry(AppDir + "templates/" + folder, folder));
    const std::optional<std::vector<TemplateEntry>> listed = WriteAndReadCatalogue(entries);
    ui->ListView1->clear();
    if (!listed) {
        platform::ShowError("ERROR: Cannot Load Templates. Please, re-install Quorlin!");
        return;
    }
    for (const TemplateEntry &entry : *listed) ui->ListView1->addTopLevelItem(CatalogueRow(entry));
}

// Another program on this folder writes and deletes its catalogue file too,
// but not between these steps. Nothing when the file is missing after the save.
std::optional<std::vector<TemplateEntry>> TForm1::WriteAndReadCatalogue(const std::vector<TemplateEntry> &entries)
{
    const std::string catalogue = AppDir + "templates_tmp.xml";
    const platform::FolderLock lock(AppDir);
    SaveText(catalogue, CatalogueText(entries));
    catalogueFile.Hold(catalogue);
    if (!QFile::exists(QString::fromStdString(catalogue))) return std::nullopt;
    return ReadCatalogue(XMLDoc, catalogue);
}

void TForm1::ConnectCatalogueHandlers()
{
    connect(ui->ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                for (const QModelIndex &index : deselected.indexes())
                    if (index.column() == 0) ListView1SelectItem(index.row(), false);
                for (const QModelIndex &index : selected.indexes())
                    if (index.column() == 0) ListView1SelectItem(index.row(), true);
            });
    ui->ListView1->viewport()->installEventFilter(this);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The list's click is the left button's.
    const auto *click = event->type() == QEvent::MouseButtonRelease ? static_cast<QMouseEvent *>(event) : nullptr;
    if (watched == ui->ListView1->viewport() && click && click->button() == Qt::LeftButton) {
        if (!ui->ListView1->itemAt(click->position().toPoint())) ui->ListView1->clearSelection();
        ListView1Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::ListView1SelectItem(int row, bool selected)
{
    const QTreeWidgetItem *item = ui->ListView1->topLevelItem(row);
    const std::string id = platform::FileNameFromText(item->text(kIdColumn));
    ui->TemplateRoot->setText(platform::FileNameToText("templates/" + id));
    TemplateTitle = item->text(0).toStdString();
    ui->Image1->show();
    ui->BitBtn10->setEnabled(true);
    const std::string folder = AppDir + "templates/" + id;
    std::string bitmap;
    QPixmap screenshot;
    const auto path = PathInTemplate(folder, "screenshot.bmp");
    if (path && ReadFileBytes(*path, kPageFileCap, bitmap) &&
        screenshot.loadFromData(QByteArray::fromStdString(bitmap), "BMP"))
        ui->Image1->setPixmap(screenshot.scaled(ui->Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        ui->Image1->hide();
    if (selected) platform::Navigate(ui->WebBrowser3, folder + "/readme.html");
}

void TForm1::ListView1Click()
{
    if (!ui->ListView1->selectedItems().isEmpty()) return;
    ui->TemplateRoot->clear();
    ui->Image1->hide();
    ui->BitBtn10->setEnabled(false);
    TemplateTitle.clear();
    LoadHtmlIntoBrowser(ui->WebBrowser3, InfoHtml);
}
