// Printing a frame viewer's page: the browser lays it out on printer pages as a PDF.
#include <QPageLayout>
#include <QWebEngineSettings>

#include "html/engine/FrameViewer.h"
#include "html/engine/ViewerPage.h"

void TFrameViewer::PrintToPdf(const QPageLayout& layout, bool backgrounds, std::function<void(const QByteArray&)> done) {
    page_->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, backgrounds);
    page_->printToPdf([done = std::move(done)](const QByteArray& pdf) { done(pdf); }, layout);
}
