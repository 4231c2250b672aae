#pragma once
// What the media back-end's decoding library says (hardware probing, damaged frames) goes to the
// program's "bookshell.libraries" category, one line each, shown only with --verbose. Call once
// the application object exists, before the first player: it makes the back-end start, so that
// its own set-up cannot put the library's default output back.
void RouteMediaLibraryLog();
