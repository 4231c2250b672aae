#include "html/TreeList.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidgetItemIterator>

#include <cctype>
#include <cstdint>
#include <vector>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/engine/PageUrl.h"
#include "packs/CfsCodec.h"
#include "packs/ReadBin.h"
#include "packs/StringUtils.h"
#include "platform/QtText.h"

namespace {

constexpr int kLinkRole = Qt::UserRole;
constexpr int kCaptionRole = Qt::UserRole + 1;

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// A path spelled the way page paths are ("/" read as "\", "." and ".." folded), so that it
// compares with the page shown; its "#anchor" is kept.
std::string AsPagePath(const std::string& path) {
    const auto [file, anchor] = WinPath::SplitAnchor(path);
    const std::string full = FullPagePath(file);
    return anchor.empty() ? full : full + "#" + anchor;
}

// "<cd>" names the disc root; a protocol stays as written; a drive path, and the rest relative
// to the program folder ("..\" and a leading "\" included), is spelled as a page path.
std::string FullLink(const std::string& link) {
    if (link.empty()) return link;
    if (link.find("<cd>") != std::string::npos) return AsPagePath(SubstitutePath(link));
    if (link.find(':') != std::string::npos) return HasDrive(link) ? AsPagePath(link) : link;
    return AsPagePath(JoinPath(ProgramDir(), link));
}

std::string Upper(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(Cp1251::upperByte(static_cast<unsigned char>(c)));
    return out;
}

std::vector<QTreeWidgetItem*> DisplayOrder(QTreeWidget* tree) {
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) items.push_back(*it);
    return items;
}

} // namespace

TTreeViews::TTreeViews(QWidget* panel, ITreeHost& host) : QTreeWidget(panel), panel_(panel), host_(host) {
    hide();
    setGeometry(0, 0, 165, 421);
    setMinimumWidth(30);
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setStyleSheet("QTreeView { border: none; }"
                  "QTreeView::item:selected:focus { background: rgb(20, 82, 82); color: white; }");
    viewport()->setMouseTracking(true);
    splitter_ = panel->findChild<QSplitter*>(QString(), Qt::FindDirectChildrenOnly);
    panel->installEventFilter(this);

    // The vertical scroll bar stands on the left; the built-in one only keeps the range.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    leftBar_ = new QScrollBar(Qt::Vertical, this);
    leftBar_->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, leftBar_, &QScrollBar::setValue);
    connect(leftBar_, &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (!current) return;
        focusedLink_ = LinkOf(current);
        for (QTreeWidgetItem* i = current; i; i = i->parent()) i->setExpanded(true);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this] { OpenFocusedItem(); });
}

bool TTreeViews::CreateTree(const TReadBin& bundle, const std::string& fileName) {
    clear();
    focusedLink_.clear();
    std::vector<uint8_t> bytes;
    if (bundle.ReadBundleEntry(fileName, bytes) < 0) return false;
    TDynamicStringArray lines;
    DecodeCfsLines(bytes.data(), bytes.size(), lines, false);

    struct Placed {
        QTreeWidgetItem* item;
        size_t depth;
    };
    std::vector<Placed> placed;
    for (const std::string& line : lines) {
        if (TrimControls(line).empty()) continue;
        const size_t depth = line.find_first_not_of('\t');
        QTreeWidgetItem* parent = nullptr;
        if (depth > 0 && !placed.empty()) {
            const Placed& previous = placed.back();
            if (depth > previous.depth) {
                parent = previous.item;
            } else if (depth == previous.depth) {
                parent = previous.item->parent();
            } else {
                for (auto it = placed.rbegin(); it != placed.rend(); ++it)
                    if (it->depth == depth - 1) {
                        parent = it->item;
                        break;
                    }
            }
        }
        const std::string body = line.substr(depth);
        const size_t semi = body.find(';');
        const std::string link = FullLink(TrimControls(body.substr(0, semi)));
        std::string caption;
        if (semi != std::string::npos) {
            const std::string rest = body.substr(semi + 1);
            caption = TrimControls(rest.substr(0, rest.find(';')));
        }
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, ToQt(caption));
        item->setData(0, kLinkRole, QByteArray::fromStdString(link));
        item->setData(0, kCaptionRole, QByteArray::fromStdString(caption));
        placed.push_back({item, depth});
    }
    return true;
}

void TTreeViews::OpenFocusedItem() {
    const std::string link = TrimControls(focusedLink_);
    if (link.empty()) return;  // an item without a page opens nothing
    if (Cp1251::equalsNoCase(TrimControls(host_.CurrentPage()), link)) return;
    host_.OpenTreePage(link);
}

void TTreeViews::OpenItem(QTreeWidgetItem* item) {
    setCurrentItem(item);  // expands the path down to it
    scrollToItem(item);
    OpenFocusedItem();
}

bool TTreeViews::FindInTree(const std::string& text) {
    if (text.empty()) return false;
    const std::string wanted = Upper(text);
    const std::vector<QTreeWidgetItem*> items = DisplayOrder(this);
    size_t start = 0;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == currentItem()) start = i + 1;
    // After the focused item to the end, then from the first up to the focused one itself.
    for (size_t k = 0; k < items.size(); ++k) {
        QTreeWidgetItem* item = items[(start + k) % items.size()];
        if (Upper(CaptionOf(item)).find(wanted) == std::string::npos) continue;
        OpenItem(item);
        return true;
    }
    return false;
}

void TTreeViews::SyncTreeToPage(const std::string& fileOrEmpty) {
    std::string name = fileOrEmpty;
    if (name.empty()) {
        name = host_.CurrentPage();
    } else {
        name = name.substr(0, name.find('#'));
    }
    name = TrimControls(name);
    if (name.empty()) return;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (!Cp1251::equalsNoCase(TrimControls(LinkOf(*it)), name)) continue;
        FocusItem(*it);
        // Only a page found in the tree is opened: a page outside it keeps the view where it is.
        if (fileOrEmpty.empty()) OpenFocusedItem();
        return;
    }
}

void TTreeViews::ShowPanel(bool visible) {
    panel_->setProperty("wanted", visible);
    panel_->setVisible(visible);
}

void TTreeViews::ShowTreeForScreen(int screen) {
    if (screen == 1) {
        ShowPanel(true);
        switchedAway_ = false;
        if (!collapsed_) {  // a collapsed tree stays out of the page's way
            PlaceAtPanelEdge();
            show();
        }
    } else if (screen == 0) {
        ShowPanel(false);
        hide();
        switchedAway_ = true;
        collapsed_ = false;
    }
    if (isHidden() || screenPage_.empty()) return;

    // The item of the page itself, else of the page without its "#" part.
    auto itemOf = [this](const std::string& path) -> QTreeWidgetItem* {
        for (QTreeWidgetItemIterator it(this); *it; ++it)
            if (Cp1251::equalsNoCase(LinkOf(*it), path)) return *it;
        return nullptr;
    };
    QTreeWidgetItem* item = itemOf(screenPage_);
    const size_t hash = screenPage_.find('#');
    if (!item && hash != std::string::npos) item = itemOf(screenPage_.substr(0, hash));
    if (item) OpenItem(item);
}

void TTreeViews::CollapseTree(bool collapse) {
    if (collapse) {
        hide();
        if (splitter_) splitter_->hide();
        if (pageView_) {
            if (!savedPageRect_) savedPageRect_ = pageView_->geometry();
            const QRect& saved = *savedPageRect_;
            pageView_->setGeometry(QRect(QPoint(x(), saved.top()), saved.bottomRight()));
        }
    } else {
        if (!switchedAway_) {
            if (splitter_) splitter_->show();
            PlaceAtPanelEdge();
            show();
        }
        if (pageView_ && savedPageRect_) pageView_->setGeometry(*savedPageRect_);
    }
    collapsed_ = collapse;
}

void TTreeViews::ShowSwitched(bool visible) {
    switchedAway_ = !visible;
    if (collapsed_) return;
    if (visible) {
        PlaceAtPanelEdge();
        show();
    } else {
        hide();
    }
}

QTreeWidgetItem* TTreeViews::NextChapterItem(bool forward) const {
    QTreeWidgetItem* focused = currentItem();
    if (!focused) return nullptr;
    const std::string link = LinkOf(focused);
    QTreeWidgetItemIterator it(focused);
    for (forward ? ++it : --it; *it; forward ? ++it : --it) {
        const std::string other = TrimControls(LinkOf(*it));
        if (!other.empty() && other != link) return *it;
    }
    return nullptr;
}

std::string TTreeViews::LinkOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kLinkRole).toByteArray().toStdString() : std::string();
}

std::string TTreeViews::CaptionOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kCaptionRole).toByteArray().toStdString() : std::string();
}

void TTreeViews::FocusItem(QTreeWidgetItem* item) {
    if (!item) return;
    setCurrentItem(item);
    scrollToItem(item);
    QTreeWidgetItem* top = item;
    while (top->parent()) top = top->parent();
    scrollToItem(top);
}

TTreeViews* ChooseTree(TTreeViews* first, TTreeViews* second) {
    auto visible = [](const TTreeViews* tree) { return tree && tree->isVisibleTo(tree->window()); };
    if (visible(first)) return first;
    if (visible(second)) return second;
    return first ? first : second;
}

void TTreeViews::mousePressEvent(QMouseEvent* event) {
    host_.ClosePopup();
    QTreeWidget::mousePressEvent(event);
}

void TTreeViews::mouseMoveEvent(QMouseEvent* event) {
    host_.PointerLeftSkin();
    QTreeWidget::mouseMoveEvent(event);
}

void TTreeViews::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenFocusedItem();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TTreeViews::updateGeometries() {
    QTreeWidget::updateGeometries();
    PlaceLeftBar();
}

bool TTreeViews::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::Resize) PlaceAtPanelEdge();
    return QTreeWidget::eventFilter(watched, event);
}

void TTreeViews::PlaceAtPanelEdge() {
    setGeometry(0, 0, width(), panel_->height());
}

void TTreeViews::PlaceLeftBar() {
    if (!leftBar_) return;  // layout runs while the constructor is still setting up
    const QScrollBar* inner = verticalScrollBar();
    leftBar_->setRange(inner->minimum(), inner->maximum());
    leftBar_->setPageStep(inner->pageStep());
    leftBar_->setSingleStep(inner->singleStep());
    leftBar_->setValue(inner->value());
    const bool needed = inner->maximum() > inner->minimum();
    const int barWidth = needed ? leftBar_->sizeHint().width() : 0;
    if (viewportMargins().left() != barWidth) setViewportMargins(barWidth, 0, 0, 0);
    if (needed) leftBar_->setGeometry(contentsRect().left(), contentsRect().top(), barWidth, viewport()->height());
    leftBar_->setVisible(needed);
}
