#pragma once
// TBookPages: the commands of the pages and the contents trees: history steps, a page opened in
// a view, copy, print, top and chapters of the page shown, and the trees shown, switched on and
// off and kept on the page shown. They act on the window's page frame and trees (none of them
// may exist: a book without page views, a window without trees).
#include "rules/CommandTarget.h"

class ISkinControlsHost;

class TBookPages : public IPageCommands {
public:
    explicit TBookPages(ISkinControlsHost& window) : window_(window) {}

    // The chosen tree selects the page the current view shows.
    void SyncTrees();

    void SelectTreePage(const std::string& page) override;
    void ShowTree(int file) override;
    void SetTreesOn(bool on) override;
    void Back() override;
    void Forward() override;
    void OpenHtml(const std::string& file, int view) override;
    void CopyHtml() override;
    void PrintHtml() override;
    void TopHtml() override;
    void NextChapter() override;
    void PrevChapter() override;

private:
    ISkinControlsHost& window_;
};
