#pragma once

#include "library/XmlDocument.h"

#include <functional>
#include <string>
#include <vector>

using ItemVisitor = std::function<void(XmlElement &item)>;

// Opens the file in doc, visits its items and closes doc again, also when a
// visit throws. The items are the first child named "item" of the container
// (the root's first child element) and every element that follows it, of any
// name. A file without a container or without an "item" has no items.
// afterWalk, when given, runs after the last visit while the document is
// still open (to save it under another name).
void WalkItems(XmlDocument &doc, const std::string &path, const ItemVisitor &visit,
               const std::function<void()> &afterWalk = {});

using ItemValues = std::vector<std::string>;

// Hands take() one row per item, as it is read, holding the texts of the named
// children in the given order; a missing child reads as "".
void ReadItems(XmlDocument &doc, const std::string &path, const std::vector<std::string> &fieldNames,
               const std::function<void(ItemValues &values)> &take);
// All the rows at once.
std::vector<ItemValues> ReadItems(XmlDocument &doc, const std::string &path,
                                  const std::vector<std::string> &fieldNames);
