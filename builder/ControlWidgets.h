#pragma once

#include "app/Helpers.h"
#include "app/Rows.h"
#include "platform/FileNameText.h"
#include "platform/Painting.h"

#include <QKeyEvent>
#include <QListWidget>

#include <functional>
#include <utility>

// Row of the selected entry of a single-selection list, or -1.
inline int SelectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.front());
}

// Lists of file names show each name through platform::FileNameToText, so
// that a name that is not UTF-8 reads back as the same bytes.

inline std::string EntryName(const QListWidgetItem *entry) { return platform::FileNameFromText(entry->text()); }

inline std::string SelectedText(const QListWidget *list)
{
    const int row = SelectedRow(list);
    return row < 0 ? std::string() : EntryName(list->item(row));
}

inline void ShowEntries(QListWidget *list, const StringList &entries)
{
    list->clear();
    for (const std::string &entry : entries) list->addItem(platform::FileNameToText(entry));
}

// The first entry showing exactly `name`, or null.
inline QListWidgetItem *FindEntry(const QListWidget *list, const std::string &name)
{
    const auto found = list->findItems(platform::FileNameToText(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found.isEmpty() ? nullptr : found.front();
}

// Makes the row of the title selected in `titles` the table's selected row;
// with no title selected the table keeps its selection. Returns the title's row.
template <class Row>
int SelectRowOfTitle(Table<Row> &table, const QListWidget *titles)
{
    const int title = SelectedRow(titles);
    if (title >= 0) table.selected = title;
    return title;
}

// Runs an action when Enter is pressed in the watched widget; the key goes no further.
class EnterKeyFilter : public QObject {
public:
    EnterKeyFilter(QWidget *watched, std::function<void()> action) : QObject(watched), action_(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};
