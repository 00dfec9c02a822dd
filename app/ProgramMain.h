#pragma once

#include <string>

// The start sequence, step by step: the splash with its bar, then every
// window of the program in a fixed order, then the splash goes.
void ShowSplash();
void CreateProgramWindows(const std::string &appDir = {});
void CloseSplash();
void DestroyProgramWindows();

int ProgramMain(int argc, char **argv);
