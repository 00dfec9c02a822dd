#pragma once

#include "app/Helpers.h"
#include "app/Rows.h"

#include <string>
#include <vector>

class XmlDocument;

// The entry of the template in `templateFolder` (named `id`): title, author and
// licence from the first three lines of its "settings.qrl", each cut at 2 KB, or
// the folder name alone when that file is missing or shorter.
TemplateEntry ReadTemplateEntry(const std::string &templateFolder, const std::string &id);

// The catalogue file's text: CR LF lines, values escaped so that they read
// back byte for byte, whatever bytes they hold.
std::string CatalogueText(const std::vector<TemplateEntry> &entries);

// The entries of a catalogue file, in file order.
std::vector<TemplateEntry> ReadCatalogue(XmlDocument &doc, const std::string &path);

// Lines of a text as a string list reads them: a final line break adds no line.
StringList SplitTextLines(const std::string &text);
