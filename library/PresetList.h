#pragma once

#include <optional>
#include <string>

class QListWidget;

// Lists the presets of `folder` (its "*.xml" files, without extension) in
// `list`; without a folder the list is empty.
void FillPresetList(QListWidget *list, const std::optional<std::string> &folder);
