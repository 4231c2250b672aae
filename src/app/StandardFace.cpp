#include "app/StandardFace.h"

#include <QBuffer>
#include <QImageReader>
#include <QWidget>

#include "app/StandardWindow.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "packs/BookFiles.h"
#include "platform/BookWindows.h"

namespace {

// The size of a picture of the book, or an empty size for anything else.
QSize PictureSize(const std::string& file) {
    const std::string ext = Cp1251::asciiLower(WinPath::Extension(file));
    if (ext != ".bmp" && ext != ".gif" && ext != ".jpg" && ext != ".jpeg") return {};
    TMemoryStream bytes;
    try {
        BookFiles().Read(file, bytes);
    } catch (const std::exception&) {
        return {};
    }
    QByteArray data(reinterpret_cast<const char*>(bytes.Data()), qsizetype(bytes.Size()));
    QBuffer buffer(&data);
    return QImageReader(&buffer).size();
}

}  // namespace

TStandardFace::TStandardFace(IStandardFaceHost& host, IPageCommands& pages) : host_(host), pages_(pages) {}

TStandardFace::~TStandardFace() = default;

// The bars, the page view filling the window, the size a picture asks for, and the window shown
// (maximised when it was the skin).
void TStandardFace::Enter(bool restricted) {
    THtmlFrame* frame = host_.HtmlFrame();
    if (!frame) return;
    host_.SetStandardForm(true);
    QWidget& window = host_.FaceWindow();
    if (!bars_) bars_ = std::make_unique<TStandardWindow>(window, static_cast<IStandardBarsHost&>(*this));
    savedRegion_ = host_.WindowRegion();
    window.clearMask();
    window.setWindowFlags(Qt::Window);
    window.setAcceptDrops(true);
    bars_->ShowBars(restricted);
    active_ = true;
    RefreshHistory();
    frame->FillWindow(bars_->Layout());
    const std::string name = Cp1251::asciiLower(WinPath::FileName(frame->CurrentFile()));
    const QSize picture = PictureSize(frame->CurrentFile());
    if (name == "scheme.bmp" || name == "scheme_lux.bmp") window.resize(780, 550);
    else if (picture.isValid()) window.resize(picture.width() + 45, picture.height() + 90);
    if (restricted) window.show();
    else window.showMaximized();
}

void TStandardFace::GoToHistory(int index) {
    if (THtmlFrame* frame = host_.HtmlFrame()) frame->GoToHistoryIndex(index);
}

void TStandardFace::Leave() {
    active_ = false;
    bars_->HideBars();
    QWidget& window = host_.FaceWindow();
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    window.showNormal();
    if (!host_.SkinSize().isEmpty()) window.resize(host_.SkinSize());
    host_.ApplyRegion(savedRegion_);
    host_.HtmlFrame()->RestoreBounds();
    host_.SetStandardForm(false);
    window.setAcceptDrops(true);
    host_.SetCaption(AppTitle());
}

// A help window keeps "Помощь" as its caption.
void TStandardFace::RefreshHistory() {
    const THtmlFrame* frame = host_.HtmlFrame();
    if (!bars_ || !bars_->Built() || !frame || !frame->CurrentView()) return;
    const TFrameViewer* view = frame->CurrentView();
    bars_->HistoryRefresh(frame->History(), frame->HistoryPosition(), view->CanGoBack(), view->CanGoForward());
    if (active_ && !host_.HelpOnly()) host_.SetCaption(BookWindows::kEnlargedPicture);
}

void TStandardFace::ShowLinkStatus(const std::string& text) {
    if (bars_) bars_->ShowLinkStatus(text);
}

void TStandardFace::Resized() {
    if (active_ && host_.HtmlFrame()) host_.HtmlFrame()->FillWindow(bars_->Layout());
}
