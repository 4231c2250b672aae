#pragma once
// The thesaurus lookup: the page the thesaurus index gives for a word (the start page for an
// empty word) goes to the running thesaurus window, or starts one as a second process of this
// program with the page and " /t". Nothing happens for a word the index does not know.
#include <functional>
#include <string>

#include "platform/WindowEntry.h"

// sender: the asking window's handle; warn shows a warning about an unreadable index (CP1251).
void LookUpThesaurus(const std::string& word, THandle sender, const std::function<void(const std::string&)>& warn);
