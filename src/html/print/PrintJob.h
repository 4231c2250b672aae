#pragma once
// The long work of printing, each under the status window "Форматирование текста", which
// stays responsive and stops the work on "Отмена" or any key: laying a document out on pages
// and sending a range of pages to a printer. Window thread only.
class QPrinter;
class QWidget;
class TPrintFrameViewer;
class TPrintPages;

namespace PrintJob {

enum class EResult { kDone, kCancelled, kFailed };

// Lays the viewer's document out at a print scale onto pages; on kDone pages holds the new
// pages, else its old ones.
EResult Paginate(QWidget* parent, TPrintFrameViewer& viewer, TPrintPages& pages, double scale, bool backgrounds);
// How long the browser may take to lay a document out before the pagination fails (two minutes
// unless a test shortens it); returns the previous bound.
int SetEngineWait(int ms);
// Prints pages from … to (1-based, inclusive) on printer, set to the whole sheet.
EResult PrintRange(QWidget* parent, const TPrintPages& pages, QPrinter& printer, int from, int to);

}  // namespace PrintJob
