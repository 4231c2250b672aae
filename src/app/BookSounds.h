#pragma once
// The sounds a book names, decoded ahead in the background so that no first click waits for its
// sound: the skin's buttons and switches, the message dialog's pages and the about window's
// buttons (About.cfs read from the bundle). Returns at once.
struct TInterfaceDescription;
class TReadBin;
struct TDialogDescription;

void PreloadBookSounds(const TInterfaceDescription& elements, const TDialogDescription* dialog, const TReadBin* bundle);
