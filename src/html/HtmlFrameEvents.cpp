// The page views' own keys and mouse: copying, the page context menu, thesaurus look-ups of a
// selection, picture tooltips, and copying the current page with its companion folder.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QToolTip>

#include <filesystem>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "packs/BookFiles.h"
#include "platform/Diagnostics.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileCopy.h"
#include "platform/QtText.h"

namespace {

bool isPicture(const std::string& file) {
    const std::string lower = Cp1251::asciiLower(file);
    for (const char* ext : {".bmp", ".gif", ".jpg", ".jpeg"})
        if (lower.find(ext) != std::string::npos) return true;
    return false;
}

std::string identity(const RPageObject& object) { return object.source + '\n' + FromQt(object.title); }

} // namespace

// Events of the view's rendering widget reach the frame through this filter.
void THtmlFrame::WatchView(TFrameViewer* view) {
    if (!tooltipTimer_) {
        tooltipTimer_ = new QTimer(this);
        tooltipTimer_->setInterval(200);
        connect(tooltipTimer_, &QTimer::timeout, this, &THtmlFrame::TooltipTick);
    }
    view->WatchInput(this);
    // A word the reader selected with the mouse (dragged over or double-clicked) goes to the
    // thesaurus; the page tells of it once the selection is made, never a stale one.
    connect(view, &TFrameViewer::SelectionMade, this, [this, view](const QString& text) {
        if (view == CurrentView() && !host_.InThesaurusMode() && text.size() > 1 && !isPicture(view->CurrentFile()))
            host_.ThesaurusLookup(FromQt(text));
    });
}

bool THtmlFrame::eventFilter(QObject* watched, QEvent* event) {
    TFrameViewer* view = CurrentView();
    if (!view || !watched->isWidgetType() || !view->isAncestorOf(static_cast<QWidget*>(watched)))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (ctrl && (key->key() == Qt::Key_C || key->key() == Qt::Key_Insert)) {
            view->CopySelection();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) host_.EnterToFindBoxes();
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        host_.ClosePopup();
        if (mouse->button() == Qt::RightButton && mouse->buttons() == Qt::RightButton && mouse->modifiers() == Qt::NoModifier)
            host_.OpenPageContextMenu(mouse->globalPosition().toPoint());
        break;
    }
    case QEvent::MouseMove:
        TooltipProbe(view);
        host_.MouseMoveToWindow();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// A picture with a title under the pointer gets its tooltip after a moment. The page is asked
// what lies under the pointer without waiting, one question at a time, so moving the mouse
// over a page never holds the window up.
void THtmlFrame::AskObjectUnderPointer(TFrameViewer* view, void (THtmlFrame::*answer)(TFrameViewer*, const RPageObject&)) {
    if (asking_ && askedAt_.elapsed() < 1000) return;  // an answer lost with its page frees the question
    asking_ = true;
    askedAt_.start();
    view->ObjectAt(view->mapFromGlobal(QCursor::pos()), [self = QPointer<THtmlFrame>(this), v = QPointer<TFrameViewer>(view),
                                                          answer](const RPageObject& object) {
        if (!self) return;
        self->asking_ = false;
        if (v) (self.data()->*answer)(v, object);
    });
}

void THtmlFrame::TooltipProbe(TFrameViewer* view) {
    if (!tooltipTimer_->isActive()) AskObjectUnderPointer(view, &THtmlFrame::ProbeAnswered);
}

void THtmlFrame::ProbeAnswered(TFrameViewer* view, const RPageObject& object) {
    if (tooltipTimer_->isActive()) return;
    if (!object.found) {
        lastHinted_.clear();
        return;
    }
    if (object.isImage && !object.title.isEmpty() && identity(object) != lastHinted_) {
        tooltipTicks_ = 0;
        tooltipView_ = view;
        tooltipTimer_->start();
    }
}

void THtmlFrame::TooltipTick() {
    ++tooltipTicks_;
    if (!tooltipView_ || tooltipView_ != CurrentView()) return StopTooltip();
    AskObjectUnderPointer(tooltipView_, &THtmlFrame::TickAnswered);
}

void THtmlFrame::TickAnswered(TFrameViewer* view, const RPageObject& object) {
    if (!tooltipTimer_->isActive() || view != tooltipView_) return;
    if (!object.found) {
        lastHinted_.clear();
        return StopTooltip();
    }
    if (tooltipTicks_ < 21 && (!object.isImage || !object.title.isEmpty())) {
        if (tooltipTicks_ < 2 || (tooltipShown_ && identity(object) == lastHinted_) || !object.isImage) return;
        const QString text = "<div style='max-width:300px'>" + object.title.toHtmlEscaped() + "</div>";
        QToolTip::showText(QCursor::pos() + QPoint(0, 18), text, view);
        tooltipShown_ = true;
        if (identity(object) != lastHinted_) {
            tooltipTicks_ = 2;
            lastHinted_ = identity(object);
        }
        return;
    }
    StopTooltip();
}

void THtmlFrame::StopTooltip() {
    tooltipTimer_->stop();
    QToolTip::hideText();
    tooltipShown_ = false;
}

// The current page and its ".files" companion folder go into the path input's folder, the
// folder's files from the pack and from the disc alike. A name of the book's that would leave
// that folder (a drive, "..", an absolute path) is left out.
void THtmlFrame::CopyPage() {
    TFrameViewer* view = CurrentView();
    const std::string folder = host_.PathInputFolder();
    if (!view || !view->isVisible() || view->CurrentFile().empty() || folder.empty()) return;
    const auto target = HostPathsService().ToHost(WinPath::WithBackslash(folder));
    if (!target) return;
    const std::string page = WinPath::WithoutAnchor(view->CurrentFile());
    if (const auto to = Contained::Join(*target, WinPath::FileName(page))) CopyBookFileToHost(page, *to);
    const std::string companion = WinPath::WithoutExtension(page) + ".files";
    const auto into = Contained::Join(*target, WinPath::FileName(companion));
    for (const std::string& entry : BookFiles().List(companion)) {
        const auto to = into ? Contained::Join(*into, entry) : std::nullopt;
        if (!to) {
            qCInfo(lcHtml).noquote() << "a companion file whose name leaves the folder is not copied:" << ToQt(entry);
            continue;
        }
        std::error_code error;
        if (entry.back() == '\\') std::filesystem::create_directories(*to, error);
        else CopyBookFileToHost(companion + "\\" + entry, *to);
    }
    host_.ShowStatus("\xD4\xE0\xE9\xEB \xF1\xEA\xEE\xEF\xE8\xF0\xEE\xE2\xE0\xED");  // Файл скопирован
}
