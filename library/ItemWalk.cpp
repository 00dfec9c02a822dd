#include "library/ItemWalk.h"

namespace {

class CloseOnExit {
public:
    explicit CloseOnExit(XmlDocument &doc) : doc_(doc) {}
    ~CloseOnExit() { doc_.Close(); }
    CloseOnExit(const CloseOnExit &) = delete;
    CloseOnExit &operator=(const CloseOnExit &) = delete;

private:
    XmlDocument &doc_;
};

XmlElement FirstItem(const XmlDocument &doc)
{
    XmlElement root = doc.DocumentElement();
    if (root.IsNull()) return {};
    XmlElement child = root.FirstChild();
    if (!child.IsNull()) child = child.FirstChild();
    while (!child.IsNull() && child.Name() != "item") child = child.NextSibling();
    return child;
}

}  // namespace

void WalkItems(XmlDocument &doc, const std::string &path, const ItemVisitor &visit,
               const std::function<void()> &afterWalk)
{
    CloseOnExit closer(doc);
    doc.Open(path);
    for (XmlElement item = FirstItem(doc); !item.IsNull(); item = item.NextSibling()) visit(item);
    if (afterWalk) afterWalk();
}

void ReadItems(XmlDocument &doc, const std::string &path, const std::vector<std::string> &fieldNames,
               const std::function<void(ItemValues &values)> &take)
{
    WalkItems(doc, path, [&](XmlElement &item) {
        ItemValues values;
        for (const std::string &name : fieldNames) values.push_back(item.ChildNamed(name).Text());
        take(values);
    });
}

std::vector<ItemValues> ReadItems(XmlDocument &doc, const std::string &path,
                                  const std::vector<std::string> &fieldNames)
{
    std::vector<ItemValues> rows;
    ReadItems(doc, path, fieldNames, [&](ItemValues &values) { rows.push_back(std::move(values)); });
    return rows;
}
