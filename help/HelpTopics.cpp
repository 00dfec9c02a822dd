#include "help/HelpTopics.h"

#include <map>

std::string HelpPageForTag(int tag)
{
    static const std::map<int, const char *> pages = {
        {1, "select_colors.html"},    {2, "presets.html"},      {3, "fonts.html"},
        {7, "images.html"},           {8, "layouts.html"},      {10, "export.html"},
        {11, "select_template.html"}, {12, "tweak.html"},       {13, "deleteimage.html"},
        {14, "tweak_editor.html"},    {16, "imagebrowser.html"}, {99, "about.html"},
    };
    const auto page = pages.find(tag);
    return page == pages.end() ? "index.html" : page->second;
}
