#pragma once
// Book pages are addressed as book://d/run/html/index.htm: the drive letter is the host, so the
// browser resolves relative links the way the disc does — "\" counts as "/", ".." stops at the
// drive's root, "#anchors" stay out of the path. Names are CP1251 inside, UTF-8 in URLs.
#include <QUrl>
#include <string>

inline constexpr char kPageScheme[] = "book";

// A Windows path made full and tidy: "/" -> "\", "." and ".." folded (never above the drive),
// drive letter lower-cased. Relative paths start from the current folder of the host paths.
// Empty when there is no drive to put it on.
std::string FullPagePath(const std::string& winPath);

// The URL of a Windows path; a "#anchor" after the file becomes the fragment.
QUrl PageUrl(const std::string& winPath);

// The Windows path of a book URL (fragment dropped); empty for any other URL.
std::string PagePath(const QUrl& url);
