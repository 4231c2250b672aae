#pragma once
// --disc may name a disc image (".iso", ".bin"/".cue", ".nrg", ".mdf") instead of a folder: the
// image then becomes the disc drive, read in place, with a per-user cache folder standing for
// it on the host.
#include <optional>
#include <string>

#include "app/CommandLine.h"

// The folder to open for the --disc value: a folder is passed through unchanged; an image is
// opened, its program folder (the one holding Zaz.dhl, any case, normally "run") found, the
// image put behind the host-path service and the book's files, and the program folder's
// cache copy returned. Nothing, after one line on stderr, when the image cannot be read or
// holds no book.
std::optional<std::string> DiscFolderOf(const std::string& discOption);

// A command line whose only book argument is a disc image and which names no --disc (a double
// click, "Open with") opens that image as the disc; any other line is returned unchanged.
TCommandLine WithImageAsDisc(TCommandLine line);

// A disc image dropped on the window opens in a program of its own; false for other files.
bool OpenDroppedImage(const std::string& hostPath);
