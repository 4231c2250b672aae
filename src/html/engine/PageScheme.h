#pragma once
// The one browser profile of the program and the "book" scheme it serves pages through: every
// document, frame, stylesheet, script and picture is read with TComprStream (pack, then disk).
class QWebEngineProfile;

// Call from main() before the application object exists: registers the scheme and, when run
// as root, turns off the browser's sandbox (it refuses to start as root otherwise).
void PreparePageEngine();

// Off the record, no disk cache, no stored cookies; created on first use, owned by the
// application object.
QWebEngineProfile* PageProfile();
