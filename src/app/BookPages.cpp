#include "app/BookPages.h"

#include <QWidget>

#include "app/SkinControlsHost.h"
#include "html/HtmlFrame.h"
#include "html/PageFrameApi.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"

void TBookPages::SyncTrees() {
    if (TTreeViews* tree = ChooseTree(window_.Tree(1), window_.Tree(2))) tree->SyncTreeToPage("");
}

void TBookPages::SelectTreePage(const std::string& page) {
    if (TTreeViews* tree = window_.Tree(1)) tree->SetScreenPage(page);
}

// "tree1" shows the tree of tree2.cfs and hides the other; "tree2" the other way round.
void TBookPages::ShowTree(int file) {
    TTreeViews* shown = window_.Tree(file);
    TTreeViews* hidden = window_.Tree(file == 1 ? 2 : 1);
    if (shown) shown->ShowSwitched(true);
    if (hidden) hidden->ShowSwitched(false);
    if (THtmlFrame* frame = window_.HtmlFrame()) frame->FitToPanel();
}

void TBookPages::SetTreesOn(bool on) {
    THtmlFrame* frame = window_.HtmlFrame();
    QWidget* view = frame ? frame->CurrentView() : nullptr;
    if (view) view->hide();
    for (TTreeViews* tree : {window_.Tree(1), window_.Tree(2)})
        if (tree && tree->Collapsed() == on) tree->CollapseTree(!on);
    if (frame) frame->FitToPanel();
    if (view) view->show();
}

// Back and forward are followed by the visible tree selecting the page now shown.
void TBookPages::Back() {
    IPageFrame* frame = window_.PageFrame();
    if (!frame) return;
    frame->GoBack();
    SyncTrees();
}

void TBookPages::Forward() {
    IPageFrame* frame = window_.PageFrame();
    if (!frame) return;
    frame->GoForward();
    SyncTrees();
}

void TBookPages::OpenHtml(const std::string& file, int view) {
    THtmlFrame* html = window_.HtmlFrame();
    IPageFrame* frame = window_.PageFrame();
    if (html && frame == html) html->OpenHtmlCommand(file, view);
    else if (frame) frame->OpenInElement(file, view);
}

void TBookPages::CopyHtml() {
    if (IPageFrame* frame = window_.PageFrame()) frame->CopyPage();
}

void TBookPages::PrintHtml() {
    if (IPageFrame* frame = window_.PageFrame()) frame->PrintPage();
}

void TBookPages::TopHtml() {
    if (IPageFrame* frame = window_.PageFrame()) frame->ScrollToTop();
}

void TBookPages::NextChapter() {
    if (IPageFrame* frame = window_.PageFrame()) frame->NextChapter();
}

void TBookPages::PrevChapter() {
    if (IPageFrame* frame = window_.PageFrame()) frame->PrevChapter();
}
