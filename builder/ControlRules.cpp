#include "builder/ControlRules.h"

#include <QCollator>
#include <QString>

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

constexpr TColor Rgb(int red, int green, int blue) { return red | green << 8 | blue << 16; }

const QCollator &ListCollator()
{
    static const QCollator collator = [] {
        QCollator result{QLocale()};
        result.setCaseSensitivity(Qt::CaseInsensitive);
        result.setNumericMode(false);
        return result;
    }();
    return collator;
}

std::string UpperAscii(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool IsNonChoice(const std::string &name)
{
    return name.empty() || name == "." || name == ".." || UpperAscii(name) == "THUMBS.DB";
}

}  // namespace

const std::array<NamedColor, 20> &NamedColors()
{
    static const std::array<NamedColor, 20> colors{{
        {"Black", Rgb(0, 0, 0)},
        {"Maroon", Rgb(128, 0, 0)},
        {"Green", Rgb(0, 128, 0)},
        {"Olive", Rgb(128, 128, 0)},
        {"Navy", Rgb(0, 0, 128)},
        {"Purple", Rgb(128, 0, 128)},
        {"Teal", Rgb(0, 128, 128)},
        {"Gray", Rgb(128, 128, 128)},
        {"Silver", Rgb(192, 192, 192)},
        {"Red", Rgb(255, 0, 0)},
        {"Lime", Rgb(0, 255, 0)},
        {"Yellow", Rgb(255, 255, 0)},
        {"Blue", Rgb(0, 0, 255)},
        {"Fuchsia", Rgb(255, 0, 255)},
        {"Aqua", Rgb(0, 255, 255)},
        {"White", Rgb(255, 255, 255)},
        {"Money Green", Rgb(192, 220, 192)},
        {"Sky Blue", Rgb(166, 202, 240)},
        {"Cream", Rgb(255, 251, 240)},
        {"Medium Gray", Rgb(160, 160, 164)},
    }};
    return colors;
}

int NamedColorIndex(TColor color)
{
    const auto &colors = NamedColors();
    const auto found = std::find_if(colors.begin(), colors.end(),
                                    [color](const NamedColor &named) { return named.color == color; });
    return found == colors.end() ? -1 : int(found - colors.begin());
}

TColor ShownColor(TColor color) { return color == kColorNone ? 0 : color; }

QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

TColor ToTColor(const QColor &color) { return Rgb(color.red(), color.green(), color.blue()); }

bool ComesBefore(const std::string &left, const std::string &right)
{
    return ListCollator().compare(QString::fromStdString(left), QString::fromStdString(right)) < 0;
}

StringList SortedWithoutDuplicates(const StringList &entries)
{
    StringList sorted;
    std::unordered_set<std::string_view> seen;
    for (const std::string &entry : entries)
        if (seen.insert(entry).second) sorted.push_back(entry);
    std::stable_sort(sorted.begin(), sorted.end(), ComesBefore);
    return sorted;
}

StringList WithoutNonChoices(StringList entries)
{
    std::erase_if(entries, IsNonChoice);
    return entries;
}

ChoiceList ListWithChoice(StringList entries, const std::string &current)
{
    std::stable_sort(entries.begin(), entries.end(), ComesBefore);
    auto found = std::find(entries.begin(), entries.end(), current);
    if (found == entries.end())
        found = entries.insert(std::upper_bound(entries.begin(), entries.end(), current, ComesBefore), current);
    return {entries, int(found - entries.begin())};
}
