#pragma once
// The window scale the reader chose in the options ("Масштаб окна", stored as "WindowScale": 0
// follows the screen, else 100, 150 or 200 per cent). Qt takes a scale only before its first
// window, so the program starts itself again at the chosen scale, once, before any window
// exists; with "Авто" Qt follows the screen's own scale.
#include <string>

#include "app/CommandLine.h"

// Returns only when the program goes on in this process: the scale follows the screen, is in
// force already, or the new start failed.
void RestartAtChosenScale(const std::string& programFolderHost, const TCommandLine& line, char** argv);
