#pragma once
// Refuses to run beside the plain sources of the description files or their encoder: a disc
// built that way was never meant to be opened.
#include <functional>
#include <string>

using TWarningSink = std::function<void(const std::string& cp1251Text)>;

// Shows one warning per file found beside the program, in a fixed order, and returns true
// when the program must end. Nothing is deleted or changed.
bool ConfigGuard(const std::string& programDir, const TWarningSink& warn);
