// Printing from the page frame: the current page, a file a link names, or a picture another
// program sends, each through a hidden print view and the print preview.
#include <QPainter>

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "html/HtmlFrame.h"
#include "html/PageHeader.h"
#include "html/engine/FrameViewer.h"
#include "html/print/PreviewForm.h"
#include "html/print/PrintFrameViewer.h"
#include "platform/Diagnostics.h"

namespace {

bool IsPictureFile(const std::string& file) {
    const std::string name = Cp1251::asciiLower(WinPath::FileName(file));
    for (const char* extension : {".bmp", ".gif", ".jpg", ".jpeg"}) {
        const std::string e = extension;
        if (name.size() > e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0) return true;
    }
    return false;
}

}  // namespace

// A page in frames prints the frame the reader looks at, not its frameset.
void THtmlFrame::PrintPage() {
    TFrameViewer* view = CurrentView();
    std::string file = view ? view->ActiveDocument() : std::string();
    if (file.empty()) file = CurrentFile();
    if (!file.empty()) Preview(file, IsPictureFile(file), true);
}

bool THtmlFrame::PrintFile(const std::string& file) {
    const bool shown = Preview(file, picturePrint_, false);
    // The request's picture state holds for this one print only.
    picturePrint_ = false;
    pictureWidth_ = pictureHeight_ = -1;
    return shown;
}

// Loads file into a hidden print view and previews it. The picture's size is the one the page
// shows when sizeFromPage, else the one a print request gave.
bool THtmlFrame::Preview(const std::string& file, bool picture, bool sizeFromPage) {
    try {
        TPrintFrameViewer viewer;
        if (const TFrameViewer* view = CurrentView()) viewer.CopyDefaults(*view);
        if (!viewer.Load(file)) {
            qCInfo(lcHtml) << "print: cannot load" << file.c_str();
            return false;
        }
        QSize size(pictureWidth_, pictureHeight_);
        if (sizeFromPage) size = viewer.PictureSize();
        RPrintHost printHost;
        printHost.showMessagePage = [this](int page) { return host_.ShowPrinterMessagePage(page); };
        printHost.showHelpTopic = [this](const std::string& topic) { host_.ShowHelpTopic(topic); };
        printHost.showMessage = [this](const std::string& text) { host_.ShowPrintMessage(text); };
        printHost.printHeader = [](QPainter& painter, int page, int width) { PaintPageHeader(painter, page, width, true); };
        return TPreviewForm::ShowFor(viewer, picture, size.width(), size.height(), printHost, host_.FrameWindow());
    } catch (...) {
        return false;  // printing fails quietly
    }
}
