// The find boxes, their events and the find's modes.
#include "app/FindTxtHtml.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageUrl.h"
#include "platform/BusyCursor.h"
#include "platform/QtText.h"

namespace {

// A borderless edit that hands its keys and the pointer to the find.
class TFindEdit : public QLineEdit {
public:
    TFindEdit(QWidget* parent, std::function<bool(int)> key, std::function<void()> over)
        : QLineEdit(parent), key_(std::move(key)), over_(std::move(over)) {
        setMouseTracking(true);
    }

protected:
    // Esc goes on to the window holding the box, whose Esc closes the dialog or stops a scan.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) event->ignore();
        else if (!key_(event->key())) QLineEdit::keyPressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (over_) over_();
        QLineEdit::mouseMoveEvent(event);
    }

private:
    std::function<bool(int)> key_;
    std::function<void()> over_;
};

}  // namespace

TFindTxtHtml::TFindTxtHtml(const std::vector<RFindTxt>& elements, QWidget* boxParent, bool thesaurusMode, IFindHost& host)
    : host_(host), boxParent_(boxParent), thesaurusMode_(thesaurusMode) {
    for (size_t i = 0; i < elements.size(); ++i) {
        auto box = std::make_unique<RBox>();
        box->element = elements[i];
        auto* edit = new TFindEdit(boxParent_, [this, i](int key) { return BoxKey(int(i), key); }, [this] { host_.PointerOverBox(); });
        edit->setFrame(false);
        edit->hide();
        edit->setToolTip(ToQt(elements[i].hint));
        const RFindTxt& e = elements[i];
        if (e.bottom - e.top - 1 > 0) {
            QFont font = edit->font();
            font.setPixelSize(e.bottom - e.top - 1);
            edit->setFont(font);
        }
        edit->setGeometry(e.left, e.top, e.right - e.left, e.bottom - e.top);
        connect(edit, &QLineEdit::textChanged, this, [this] { BoxTextChanged(); });
        box->edit = edit;
        boxes_.push_back(std::move(box));
    }
    ShowForScreen();
}

TFindTxtHtml::~TFindTxtHtml() {
    *alive_ = false;
    for (auto& box : boxes_) delete box->edit.data();
}

void TFindTxtHtml::ShowForScreen() {
    const int screen = host_.CurrentScreen();
    for (auto& box : boxes_) {
        if (!box->edit) continue;
        if (box->element.screen == screen) box->edit->show();
        else if (box->element.screen == previousScreen_ && previousScreen_ != screen) box->edit->hide();
    }
    previousScreen_ = screen;
}

void TFindTxtHtml::SetBoxesHidden(bool hidden) {
    const int screen = host_.CurrentScreen();
    for (auto& box : boxes_)
        if (box->edit && box->element.screen == screen) box->edit->setVisible(!hidden);
}

std::vector<QWidget*> TFindTxtHtml::Boxes() const {
    std::vector<QWidget*> widgets;
    for (const auto& box : boxes_)
        if (box->edit) widgets.push_back(box->edit);
    return widgets;
}

QLineEdit* TFindTxtHtml::Box(int i) const { return boxes_[size_t(i)]->edit; }

void TFindTxtHtml::BoxTextChanged() {
    if (BusyFlag) return;
    position_ = -1;
    headwordTried_ = false;
    startPage_.clear();  // a new word starts its own scan
    files_.clear();
    titles_.clear();
    host_.ClearStatus();
}

// While busy every key is swallowed; Enter in the first box searches.
bool TFindTxtHtml::BoxKey(int box, int key) {
    if (BusyFlag) return true;
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (box == 0 && thesaurusMode_) FindNext(1);
    else if (box == 0) host_.EnterCommand("findnext1");
    return true;
}

void TFindTxtHtml::EnterInBoxes() {
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->edit && boxes_[i]->edit->isVisible()) BoxKey(int(i), Qt::Key_Return);
}

void TFindTxtHtml::SetStopped(bool stopped) {
    stopped_ = stopped;
    host_.StoppedChanged(stopped);
}

// A change of mode starts the candidate lists, the position and the start page anew.
void TFindTxtHtml::ResetScan() {
    for (auto& box : boxes_) box->candidates.clear();
    position_ = -1;
    startPage_.clear();
}

void TFindTxtHtml::SetAllPages(bool all) {
    if (all != allPages_) ResetScan();
    allPages_ = all;
    indexMode_ = contentsMode_ = false;
}

// The index scan fills its candidates only when it has none, so a list the page mode left
// (a single empty entry outside all-pages mode) must not reach it.
void TFindTxtHtml::SetIndexMode() {
    if (!indexMode_) ResetScan();
    indexMode_ = true;
    contentsMode_ = false;
}

void TFindTxtHtml::SetContentsMode() {
    if (!contentsMode_) ResetScan();
    contentsMode_ = true;
    indexMode_ = false;
}

void TFindTxtHtml::FindNext(int number) {
    host_.ClearStatus();
    RBox* box = nullptr;
    for (auto& b : boxes_)
        if (!box && b->element.number == number && b->edit) box = b.get();
    if (!box) return SetStopped(true);
    QString text = box->edit->text();
    while (text.contains("  ")) text.replace("  ", " ");
    if (text != box->edit->text()) {
        const QSignalBlocker quiet(box->edit);  // collapsing the blanks is no new word
        box->edit->setText(text);
    }
    const std::string word = FromQt(text);
    const auto alive = alive_;  // a scan lets events run, which may close the window
    if (contentsMode_) ContentsFind(word);
    else if (indexMode_) IndexFind(*box, word);
    else PageFind(*box, word);
    if (*alive) SetStopped(true);
}

void TFindTxtHtml::OpenResult(int index) {
    TFrameViewer* view = host_.CurrentView();
    if (!view || index < 0 || size_t(index) >= files_.size()) return;
    std::string file = files_[size_t(index)];
    if (file.find('\\') == std::string::npos) file = ProgramDir() + file;
    const auto alive = alive_;
    if (!Cp1251::equalsNoCase(FullPagePath(file), view->CurrentFile())) ShowHit(view, file, "", false);
    if (!*alive) return;
    if (TTreeViews* tree = host_.ContentsTree()) tree->SyncTreeToPage("");
    indexMode_ = false;
    FindNext(1);
    if (*alive) indexMode_ = true;
}
