#pragma once
// The message dialog's text laid out in lines of a given width: broken between words (and at line
// breaks of the text), a word wider than a line (a path) shortened with "…" in its middle, and
// lines past the last that fits dropped, the last kept ending in "…".
#include <QFontMetrics>
#include <QString>
#include <QStringList>

QStringList WrapDialogText(const QFontMetrics& metrics, const QString& text, int width, int maxLines);
