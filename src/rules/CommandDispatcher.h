#pragma once
// ExecuteCommand: the one entry point of every command text, from skin elements, keys, popup
// items, page links and other instances. It plays the element's sound and then runs the first
// step whose test matches, in a fixed order; what each step does belongs to the feature the command is routed to.
#include <string>

#include "rules/CommandTarget.h"

// The pieces of a command "name=first=second".
struct RCommandPieces {
    std::string name;    // text before the first "="; empty without "="
    std::string first;   // ValueAfterFirstEquals, path-substituted
    std::string second;  // ValueAfterLastEquals, path-substituted
};
RCommandPieces SplitCommand(const std::string& command);

// kind: 0 button (also keys, links, popups, messages), 1 single switch, 2 grouped switch.
// startup: true when the program replays or issues the command itself: no sound plays.
void ExecuteCommand(const TCommandRoutes& routes, const std::string& command, const std::string& sound, int index, int kind,
                    bool startup);
