// How a shell open becomes a program start, kept apart so that the argument
// list can be checked without starting anything.
#pragma once

#include <string>
#include <vector>

// The argument list that opens szFile with the desktop's default program:
// xdg-open and the file as one single argument, never read by a shell. A
// name that starts with '-' is made "./-name" so it cannot pass for an option.
std::vector<std::string> PalShellOpenArgv(const char* szFile);

// The user's data folder as the XDG base directories define it: $XDG_DATA_HOME
// when it is an absolute path, else ~/.local/share; empty when there is no home.
std::string PalUserDataFolder();
