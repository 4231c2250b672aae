#include "html/print/PrintFrameViewer.h"

#include <QEventLoop>
#include <QPageLayout>
#include <QTimer>

#include "html/engine/FrameViewer.h"

namespace {

constexpr int kLoadWaitMs = 30000;

// Links print as plain text in their colour.
const char kPrintStyle[] =
    "(function() { var s = document.createElement('style');"
    " s.textContent = 'a:link, a:visited { text-decoration: none !important; }';"
    " (document.head || document.documentElement).appendChild(s); })()";

// A picture shown alone prints at its own size, not shrunk to the window.
const char kPictureStyle[] =
    "(function() { var i = document.images;"
    " if (document.contentType.indexOf('image/') == 0 && i.length == 1) {"
    " i[0].style.maxWidth = 'none'; i[0].style.maxHeight = 'none'; i[0].style.margin = '0';"
    " i[0].style.width = i[0].naturalWidth + 'px'; i[0].style.height = i[0].naturalHeight + 'px';"
    " document.body.style.margin = '0'; document.body.style.background = 'none'; } })()";

const char kPictureSize[] =
    "(function() { var i = document.images;"
    " return document.contentType.indexOf('image/') == 0 && i.length == 1 ?"
    " [i[0].naturalWidth, i[0].naturalHeight] : []; })()";

}  // namespace

TPrintFrameViewer::TPrintFrameViewer() : view_(std::make_unique<TFrameViewer>()) {
    view_->SetHistoryMaxCount(1);
    view_->SetVisitedMaxCount(0);
    view_->setAttribute(Qt::WA_DontShowOnScreen);
    view_->resize(800, 600);
    view_->show();  // laid out and printed, never on the screen
}

// A page freed while the browser still makes its PDF brings the browser down: a request of a
// pagination that gave up is waited for first.
TPrintFrameViewer::~TPrintFrameViewer() { WaitForEarlierPdf(); }

void TPrintFrameViewer::CopyDefaults(const TFrameViewer& from) {
    view_->SetDefFontName(from.DefFontName());
    view_->SetDefFontSize(from.DefFontSize());
    view_->SetDefFontColor(from.DefFontColor());
    view_->SetDefHotSpotColor(from.DefHotSpotColor());
    view_->SetDefBackground(from.DefBackground());
}

bool TPrintFrameViewer::Load(const std::string& file) {
    QEventLoop loop;
    bool ok = false;
    const auto connection = QObject::connect(view_.get(), &TFrameViewer::LoadFinished, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    if (!view_->LoadFile(file)) return false;
    QTimer::singleShot(kLoadWaitMs, &loop, &QEventLoop::quit);
    if (view_->IsLoading()) loop.exec();
    else ok = true;
    QObject::disconnect(connection);
    if (ok) view_->RunScript(QString::fromLatin1(kPrintStyle) + ";" + QString::fromLatin1(kPictureStyle));
    loaded_ = ok;
    return ok;
}

QSize TPrintFrameViewer::PictureSize() {
    const QVariantList size = view_->EvaluateScript(QString::fromLatin1(kPictureSize)).toList();
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
}

void TPrintFrameViewer::Paginate(const QPageLayout& layout, double scale, bool backgrounds,
                                 std::function<void(const QByteArray&)> done) {
    // The print scale is the page's zoom: content at scale 2 takes twice the paper.
    WaitForEarlierPdf();
    view_->EvaluateScript(QStringLiteral("document.documentElement.style.zoom = '%1'").arg(scale, 0, 'f', 6));
    *printing_ = true;
    view_->PrintToPdf(layout, backgrounds, [printing = printing_, done = std::move(done)](const QByteArray& pdf) {
        *printing = false;
        done(pdf);
    });
}

// The browser makes one PDF at a time and leaves a second request unanswered: the request of a
// stopped pagination is waited for before the next one starts.
void TPrintFrameViewer::WaitForEarlierPdf() {
    if (!*printing_) return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!*printing_) loop.quit();
    });
    QTimer::singleShot(kLoadWaitMs, &loop, &QEventLoop::quit);
    poll.start(20);
    loop.exec();
}
