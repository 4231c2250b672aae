// The find's searches: in the page and on through the pages, through the keyword index with a
// scan of the pack's pages, and in the contents tree.
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <set>

#include "app/FindTxtHtml.h"
#include "app/StartPaths.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "packs/ComprStream.h"
#include "packs/StringUtils.h"
#include "platform/BusyCursor.h"
#include "platform/QtText.h"
#include "search/MakeFind.h"

namespace {

const char* const kEnterWord = "\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xF1\xEB\xEE\xE2\xEE \xE4\xEB\xFF \xEF\xEE\xE8\xF1\xEA\xE0";  // Введите слово для поиска
const char* const kNotFound = "\xD2\xE5\xEA\xF1\xF2 \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED";  // Текст не найден
constexpr int kLoadWaitMs = 10000;
// Pages read and parsed ahead of the scan at a time, on every core.
constexpr size_t kPagesAhead = 32;

// Pages of a "man" or "man_" folder are no candidates of the index scan.
bool inManFolder(const std::string& lowerPath) {
    const std::string folder = WinPath::Folder(lowerPath);
    const std::string name = WinPath::FileName(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
    return name == "man" || name == "man_";
}

bool containsNoCase(const std::string& text, const std::string& part) {
    return Cp1251::lower(text).find(Cp1251::lower(part)) != std::string::npos;
}

// The titles "files.idx" gives the book's pages; none when it cannot be read.
TPageTitles pageTitles() {
    TPageTitles titles;
    try {
        TComprStream stream(ProgramDir() + "files.idx");
        titles.Read(stream, ProgramDir());
    } catch (const std::exception&) {
    }
    return titles;
}

// A hit's title in the result list: its "files.idx" title, else the page's own, else its name.
std::string resultTitle(const TPageTitles& titles, IFindHost& host, const std::string& page) {
    if (std::optional<std::string> listed = titles.TitleOf(page)) return *listed;
    std::string title = host.PageTitle(page);
    return title.empty() ? WinPath::FileName(page) : title;
}

}  // namespace

// Shows a page in the view (its history entry when it has one and reuse is asked) and waits, with
// a bound, for it to load; then selects the first place of the word, when one is given.
bool TFindTxtHtml::ShowHit(TFrameViewer* view, const std::string& file, const std::string& text, bool reuseHistory) {
    const auto alive = alive_;
    const QPointer<TFrameViewer> shown(view);
    view->show();
    bool index = false;
    const auto files = view->HistoryFiles();
    for (size_t i = 0; i < files.size() && reuseHistory && !index; ++i) {
        if (!Cp1251::equalsNoCase(files[i], file)) continue;
        view->SetHistoryIndex(int(i));
        index = true;
    }
    if (!index && !view->LoadFile(file)) return false;
    if (view->IsLoading()) {
        QEventLoop loaded;
        connect(view, &TFrameViewer::LoadFinished, &loaded, &QEventLoop::quit);
        QTimer::singleShot(kLoadWaitMs, &loaded, &QEventLoop::quit);
        loaded.exec();
    }
    if (!*alive || !shown) return false;
    if (text.empty()) return true;
    view->SetCaretToTop();
    return view->FindText(ToQt(text), matchCase_);
}

// Every question to the view lets events run, which may close the window: after each, the find
// and the view are checked to be still there.
void TFindTxtHtml::PageFind(RBox& box, const std::string& text) {
    const auto alive = alive_;
    SetStopped(false);
    if (text.empty()) {
        host_.ShowStatus(kEnterWord);
        return;
    }
    const QPointer<TFrameViewer> view = host_.CurrentView();
    if (!view || view->CurrentFile().empty()) return;
    if (startPage_.empty()) startPage_ = view->CurrentFile();
    const QString word = ToQt(text);
    const QString frame = ToQt(box.element.frame);
    const auto found = [&](const QString& what) { return view->FindText(what, matchCase_, frame) || !*alive || !view; };
    if (thesaurusMode_ && !headwordTried_) {
        headwordTried_ = true;
        if (found("~ " + word)) return;
    }
    if (found(word) || ScanPages(box, text, view) || !*alive || !view) return;
    position_ = -1;
    startPage_.clear();
    if (!allPages_) {
        view->SetCaretToTop();
        if (found(word)) return;
    }
    host_.ShowStatus(kNotFound);
}

// The disc's pages in their order, then those only the pack holds.
TDynamicStringArray TFindTxtHtml::AllPages() const {
    TDynamicStringArray pages = host_.DiskPages();
    std::set<std::string> listed;
    for (const std::string& page : pages) listed.insert(Cp1251::lower(page));
    for (const std::string& packed : host_.PackPages()) {
        const std::string page = StartState().packPrefix + Cp1251::lower(packed);
        if (WinPath::Extension(page).find(".htm") != std::string::npos && listed.insert(page).second)
            pages.push_back(page);
    }
    return pages;
}

// The program is busy while a scan runs. A scan's end first clears the busy state, which it does
// even when the find went away meanwhile (the window closed), and only then calls EndScan.
void TFindTxtHtml::BeginScan() {
    SetBusyCursor(true);
    scanning_ = true;
}

void TFindTxtHtml::EndScan() {
    scanning_ = false;
    host_.ScanEnded();
}

// The pages after the one searched last: the limited set is the current page alone, all pages
// are every page of the book. True on a hit, which the view then shows selected.
bool TFindTxtHtml::ScanPages(RBox& box, const std::string& text, TFrameViewer* view) {
    const auto alive = alive_;
    const QPointer<TFrameViewer> shown(view);
    BeginScan();
    box.candidates = allPages_ ? AllPages() : TDynamicStringArray();
    if (box.candidates.empty()) box.candidates.push_back("");
    bool hit = false;
    while (!hit) {
        QCoreApplication::processEvents();
        if (!*alive || stopped_ || !shown) break;  // the stop is heard before the position moves
        if (++position_ >= int(box.candidates.size())) break;
        PrepareAhead(box.candidates, size_t(position_));
        const std::string& page = box.candidates[size_t(position_)];
        if (page.empty() || Cp1251::equalsNoCase(page, startPage_)) continue;
        if (host_.PageContains(page, text, matchCase_)) hit = ShowHit(shown, page, text, true);
    }
    SetBusyCursor(false);
    if (!*alive) return false;
    EndScan();
    return hit || stopped_;
}

void TFindTxtHtml::IndexFind(RBox& box, const std::string& text) {
    if (text.empty()) {
        host_.ShowStatus(kEnterWord);
        return;
    }
    const auto alive = alive_;
    files_.clear();
    titles_.clear();
    TMakeFind find([this](const std::string& warning) { host_.Warn(warning); });
    find.SetIndexFolder(ProgramDir());
    if (!find.FindKeyword(text, files_, titles_, false)) ScanForIndex(box, text);
    if (!*alive) return;
    host_.ResetBar();
    host_.ResultsChanged();
    if (files_.empty()) host_.ShowStatus(kNotFound);
}

// A word that is no keyword: the pack's pages are scanned, the scale bar advancing with them.
// A hit "files.idx" has no title for is listed under the page's own title, else its file name.
void TFindTxtHtml::ScanForIndex(RBox& box, const std::string& text) {
    const auto alive = alive_;
    SetStopped(false);
    position_ = -1;
    BeginScan();
    if (box.candidates.empty()) box.candidates = PackCandidates(box);
    const double step = double(host_.BarWidth()) / double(box.candidates.size());
    const TPageTitles titles = pageTitles();
    int filled = 0;
    for (size_t i = size_t(position_ + 1); i < box.candidates.size(); ++i) {
        QCoreApplication::processEvents();
        if (!*alive || stopped_) break;
        position_ = int(i);
        PrepareAhead(box.candidates, i);
        for (; filled <= int((double(i) + 1) * step); ++filled) host_.StepBar();
        const std::string& page = box.candidates[i];
        if (page.empty() || !host_.PageContains(page, text, matchCase_)) continue;
        files_.push_back(page);
        titles_.push_back(resultTitle(titles, host_, page));
    }
    SetBusyCursor(false);
    if (*alive) EndScan();
}

// Every kPagesAhead pages the texts of the next ones are read in one go.
void TFindTxtHtml::PrepareAhead(const TDynamicStringArray& pages, size_t at) const {
    if (at % kPagesAhead == 0) host_.PreparePages(pages, at, kPagesAhead);
}

// The pack's pages outside the "man" folders; the limited set leaves out the "nofiles" pages.
TDynamicStringArray TFindTxtHtml::PackCandidates(const RBox& box) const {
    TDynamicStringArray pages;
    for (const std::string& packed : host_.PackPages()) {
        const std::string lower = Cp1251::lower(packed);
        if (WinPath::Extension(lower).find(".htm") == std::string::npos || inManFolder(lower)) continue;
        bool left = false;
        for (const std::string& no : box.element.noFiles) left |= !allPages_ && !no.empty() && containsNoCase(lower, no);
        if (!left) pages.push_back(StartState().packPrefix + lower);
    }
    if (pages.empty()) pages.push_back("");
    return pages;
}

void TFindTxtHtml::ContentsFind(const std::string& text) {
    TTreeViews* tree = host_.ContentsTree();
    if (text.empty()) {
        host_.ShowStatus(kEnterWord);
    } else if (!tree || !tree->FindInTree(text)) {
        host_.ShowStatus(kNotFound);
    }
}
