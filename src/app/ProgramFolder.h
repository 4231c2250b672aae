#pragma once
// Which disc folder the program opens when none is named on the command line.
#include <string>

// The host folder to open: the --disc folder when given; else this program's own folder when it
// holds Zaz.dhl (any letter case); else the installed sample book; else the one in the build
// tree. Empty when none exists.
std::string ChooseProgramFolder(const std::string& discOption, const std::string& executableDir);
