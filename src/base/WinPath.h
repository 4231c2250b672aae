#pragma once
// Slicing Windows paths the way the book writes them ("d:\run\html\page.htm#part"): a name ends
// the path after its last "\", "/" or ":", an extension runs from the name's last "." to the end
// (an "#anchor" or "?query" stays in it), and an anchor starts at the first "#".
#include <string>
#include <string_view>
#include <utility>

namespace WinPath {

// Where the last component begins.
size_t NameStart(std::string_view path);
std::string FileName(std::string_view path);
// Everything up to and including the last separator; empty for a bare name.
std::string Folder(std::string_view path);
// From the last "." of the name on; empty when the name has none.
std::string Extension(std::string_view path);
// The path without the extension of its name ("a\b.htm" -> "a\b"); unchanged without one.
std::string WithoutExtension(std::string_view path);
// "file#anchor" split at the first "#"; the anchor comes without it.
std::pair<std::string, std::string> SplitAnchor(std::string_view path);
std::string WithoutAnchor(std::string_view path);
// The folder with one trailing "\" ("" stays "").
std::string WithBackslash(std::string_view folder);

} // namespace WinPath
