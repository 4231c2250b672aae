#include "html/print/PrintJob.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <memory>
#include <utility>

#include "html/print/PrintFrameViewer.h"
#include "html/print/PrintPages.h"
#include "html/print/PrintStatusForm.h"

namespace PrintJob {

namespace {

int engineWaitMs = 120000;  // a browser that never answers counts as failed
constexpr int kStopPollMs = 50;

// The engine's answer; shared, since it may come after the wait has given up.
struct RAnswer {
    bool arrived = false;
    QByteArray pdf;
};

// Waits in the event loop, keeping the status window alive, until done() or a stop request.
bool WaitFor(TPrintStatusForm& status, const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kStopPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || status.StopRequested()) loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start();
    if (!done() && !status.StopRequested()) loop.exec();
    return done();
}

}  // namespace

int SetEngineWait(int ms) { return std::exchange(engineWaitMs, ms); }

EResult Paginate(QWidget* parent, TPrintFrameViewer& viewer, TPrintPages& pages, double scale, bool backgrounds) {
    TPrintStatusForm status(parent);
    status.Starting();
    status.show();
    auto answer = std::make_shared<RAnswer>();
    viewer.Paginate(pages.EngineLayout(), scale, backgrounds, [answer](const QByteArray& pdf) {
        answer->pdf = pdf;
        answer->arrived = true;
    });
    const bool arrived = WaitFor(
        status, [answer] { return answer->arrived; }, engineWaitMs);
    if (status.StopRequested()) return EResult::kCancelled;
    if (!arrived) return EResult::kFailed;
    const QByteArray previous = pages.Pdf();
    if (!pages.SetPdf(answer->pdf)) return EResult::kFailed;
    // The engine hands all pages at once; each is counted as it is taken over, and a stop
    // meanwhile puts the previous pages back.
    for (int page = 1; page <= pages.Count(); ++page) {
        status.PageDone(page);
        QCoreApplication::processEvents();
        if (status.StopRequested()) {
            pages.SetPdf(previous);
            return EResult::kCancelled;
        }
    }
    return EResult::kDone;
}

EResult PrintRange(QWidget* parent, const TPrintPages& pages, QPrinter& printer, int from, int to) {
    TPrintStatusForm status(parent);
    status.Starting();
    status.show();
    QPainter painter;
    if (!painter.begin(&printer)) return EResult::kFailed;
    for (int page = from; page <= to; ++page) {
        status.PageDone(page);
        QCoreApplication::processEvents();
        if (status.StopRequested()) {
            printer.abort();
            return EResult::kCancelled;
        }
        if (page > from && !printer.newPage()) return EResult::kFailed;
        pages.PaintPage(painter, page - 1, printer);
    }
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error ? EResult::kDone : EResult::kFailed;
}

}  // namespace PrintJob
