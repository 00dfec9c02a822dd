#pragma once

#include "app/Helpers.h"

#include <QColor>

#include <array>
#include <string>

// A colour of the picker list with its name.
struct NamedColor {
    const char *name;
    TColor color;
};

// The named colours of the picker list, in the list's order.
const std::array<NamedColor, 20> &NamedColors();

// Index in NamedColors() of the first entry holding `color`, or -1.
int NamedColorIndex(TColor color);

// The colour a picker entry shows and writes: the none colour is black.
TColor ShownColor(TColor color);
QColor ToQColor(TColor color);
TColor ToTColor(const QColor &color);

// Order of the sorted lists: alphabetical without regard to letter case in the
// user's locale, digits compared as characters ("10" before "9").
bool ComesBefore(const std::string &left, const std::string &right);

// `entries` in list order, each exact text once (letter case counts).
StringList SortedWithoutDuplicates(const StringList &entries);

// Drops the folder entries that are no choices: empty names, ".", ".." and
// "thumbs.db" in any letter case.
StringList WithoutNonChoices(StringList entries);

// A sorted choice list and the position of the current choice in it.
struct ChoiceList {
    StringList entries;
    int selected = -1;
};

// Sorts `entries` and selects the first one equal to `current` (letter case
// counts); when there is none, `current` is added at its sorted place.
ChoiceList ListWithChoice(StringList entries, const std::string &current);
