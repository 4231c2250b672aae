#pragma once
// The one boundary between the book's CP1251 text and Qt's strings. Captions, hints, file
// dialogs, settings files, URLs and browser calls take their text through these two; below this
// layer everything stays CP1251 bytes.
#include <QString>

#include <string>
#include <string_view>

QString ToQt(std::string_view cp1251);
// Characters CP1251 lacks become '?'.
std::string FromQt(const QString& text);
