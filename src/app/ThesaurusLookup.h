#pragma once
// Pages for the program's second windows. The thesaurus lookup: the page the thesaurus index gives for a word (the start page for an
// empty word) goes to the running thesaurus window, or starts one as a second process of this
// program with the page and " /t". Nothing happens for a word the index does not know.
#include <functional>
#include <string>

#include "platform/WindowEntry.h"

// sender: the asking window's handle; warn shows a warning about an unreadable index (CP1251).
void LookUpThesaurus(const std::string& word, THandle sender, const std::function<void(const std::string&)>& warn);

// Hands a page (a Windows path, "#" part allowed) to the running window of this program titled
// caption, restored and in front; when none runs and the page exists, starts one as a second
// process with the page and flag ("/t" thesaurus, "/h" help).
void ShowInSecondWindow(const char* caption, const std::string& path, THandle sender, const char* flag);

// The page of a help topic: the help file's folder holds a page per topic ("Topic13.htm"); a
// topic without one is an anchor of the help file. helpFile is a Windows path (relative ones are
// taken from the program folder).
std::string HelpTopicPage(std::string helpFile, const std::string& topic);
