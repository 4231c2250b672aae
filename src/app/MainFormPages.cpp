// The main window's pages and contents trees: the page frame over the "_html" elements, the two
// trees on the background panel, and the commands that reach them.
#include <QTreeWidget>

#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/PictureQuery.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "platform/QtText.h"

// The page frame exists only when the description places page views; the trees come after it,
// on the skinned book window only.
void TMainForm::BuildPages(bool withTrees) {
    pictureQuery_ = std::make_unique<TPictureQuery>(*channel_);
    linkServices_ = std::make_unique<TLinkServices>(this, *this);
    linkServices_->PictureQuery = [this](const std::string& path) { return pictureQuery_->Query(path); };
    ConnectArchives();
    if (!elements_.Htmls.empty()) {
        htmlFrame_ = std::make_unique<THtmlFrame>(*this, *linkServices_, elements_.Htmls);
        pageFrame_ = htmlFrame_.get();
    }
    if (!withTrees) return;
    const char* files[2] = {"tree1.cfs", "tree2.cfs"};
    TTreeViews** trees[2] = {&tree1_, &tree2_};
    for (int n = 0; n < 2; ++n) {
        auto* tree = new TTreeViews(panelBkgrd_, *this);
        tree->CreateTree(*start_.bundle, files[n]);
        *trees[n] = tree;
    }
}

// A hidden page view leaves the page to the "_html" element number 20.
void TMainForm::OpenTreePage(const std::string& path) {
    if (pageFrame_ && pageFrame_->CurrentViewShown()) pageFrame_->OpenInCurrentView(path);
    else if (pageFrame_) pageFrame_->OpenInElement(path, 20);
}

std::string TMainForm::CurrentPage() const { return pageFrame_ ? pageFrame_->CurrentFile() : std::string(); }

bool TMainForm::PagesSettled() const {
    const TFrameViewer* view = htmlFrame_ ? htmlFrame_->CurrentView() : nullptr;
    return !view || !view->isVisible() || !view->IsLoading();
}

bool TMainForm::TreesHidden() const {
    return (!tree1_ || !tree1_->isVisibleTo(this)) && (!tree2_ || !tree2_->isVisibleTo(this));
}

// The chosen tree selects the page the current view shows.
void TMainForm::SyncTrees() { pages_.SyncTrees(); }
