#pragma once

#include <string>

// The page in the program's "help" folder for the Tag of a Help control;
// an unknown Tag gives the overview, "index.html".
std::string HelpPageForTag(int tag);
