#pragma once
// Which disc folder the program opens.
#include <functional>
#include <string>
#include <vector>

#include "app/DiscSearch.h"

// Picks one of several books found on mounted discs; empty when the user picks none.
using TBookChooser = std::function<std::string(const std::vector<std::string>& books)>;

// The host folder to open: the --disc folder when given (its "run" folder when the disc root is
// named); else this program's own folder when it holds Zaz.dhl (any letter case); else a book on
// a mounted disc (the chooser picks among several); else the installed sample book; else the one
// in the build tree. Empty when none exists.
std::string ChooseProgramFolder(const std::string& discOption, const std::string& executableDir,
                                const std::vector<RMountRoot>& mountRoots, const TBookChooser& choose);
