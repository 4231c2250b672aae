#pragma once
// The one browser profile of the program and the "book" scheme it serves pages through: every
// document, frame, stylesheet, script and picture is read with TComprStream (pack, then disk).
//
// Only the book's own files are served, and besides them the program's private folder of archive
// listings and the folders of pages the reader dropped. What comes from an archive or a dropped
// file is foreign: its pages are served with scripts forbidden, and their links act as plain page
// links only. Window thread only.
#include <string>

class QWebEngineProfile;

enum class TPageTrust {
    Refused,  // not the book's, not admitted: never served
    Book,     // a file on the book's disc drive (neither c: nor z:) or in its pack
    Listing,  // a page the program wrote for an archive listing
    Foreign,  // an unpacked archive entry or a dropped page
};

// Where the file at a full Windows path comes from.
TPageTrust PageTrust(const std::string& winPath);
// The program's private folder of archive listings ("as_" folders below it, each holding its
// "as_" pages and the entries unpacked beside them). Empty: none.
void SetListingRoot(const std::string& winFolder);
// A file, or with a trailing "\" a folder, of the reader's that pages may show as foreign: a
// dropped page's folder, a picture another process hands over for printing.
void AdmitForeign(const std::string& winPath);

// Call from main() before the application object exists: registers the scheme and, when run
// as root, turns off the browser's sandbox (it refuses to start as root otherwise). Unless
// verbose, the browser's own processes keep their log lines to themselves.
void PreparePageEngine(bool verbose = false);

// Off the record, no disk cache, no stored cookies; created on first use, owned by the
// application object.
QWebEngineProfile* PageProfile();
