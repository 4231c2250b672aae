#include "app/StandardWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "base/Cp1251.h"
#include "platform/QtText.h"

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// "Свернуть": the theme's restore icon, else two window frames drawn at the toolbar's icon size
// (the style's title-bar button is a small picture beside the other icons).
QIcon CollapseIcon(const QPalette& palette) {
    const QIcon themed = QIcon::fromTheme(QStringLiteral("view-restore"));
    if (!themed.isNull()) return themed;
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::WindowText), 3));
    painter.drawRect(QRectF(16, 6, 26, 20));
    painter.setBrush(palette.color(QPalette::Base));
    painter.drawRect(QRectF(6, 20, 26, 20));
    return QIcon(picture);
}

}  // namespace

std::string StandardMenuCaption(const RHistoryEntry& entry) {
    const std::string caption = entry.title.empty() ? entry.file : entry.title + "--" + entry.file;
    return caption.substr(0, 80);
}


QAction* TStandardWindow::AddDropDown(int which, const char* caption, const char* hint) {
    menus_[which] = new QMenu(toolbar_);
    for (int i = 0; i < kMenuEntries; ++i) {
        QAction* entry = menus_[which]->addAction(QString());
        QObject::connect(entry, &QAction::triggered, toolbar_, [this, entry] { host_.GoToHistory(entry->data().toInt()); });
    }
    const QStyle* style = QApplication::style();
    QAction* action = toolbar_->addAction(style->standardIcon(which == 0 ? QStyle::SP_ArrowBack : QStyle::SP_ArrowForward),
                                          Text(caption), toolbar_, [this, which] { host_.Step(which == 0); });
    action->setToolTip(Text(hint));
    action->setMenu(menus_[which]);
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    return action;
}

// Flat, top-aligned, with captions: the two history buttons, a divider, "Печать", "Свернуть".
void TStandardWindow::Build() {
    toolbar_ = new QToolBar(&window_);
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    dropDowns_[0] = AddDropDown(0, "Назад", "Перемещение назад на одну ссылку");
    dropDowns_[1] = AddDropDown(1, "Вперед", "Перемещение вперед на одну ссылку");
    auto* gap = new QWidget(toolbar_);
    gap->setFixedWidth(10);
    divider_ = toolbar_->addWidget(gap);
    const QStyle* style = QApplication::style();
    const QIcon printIcon = QIcon::fromTheme("document-print", style->standardIcon(QStyle::SP_FileIcon));
    QAction* print = toolbar_->addAction(printIcon, Text("Печать"), toolbar_, [this] { host_.Print(); });
    print->setToolTip(Text("Напечатать текущий файл"));
    leave_ = toolbar_->addAction(CollapseIcon(toolbar_->palette()), Text("Свернуть"), toolbar_,
                                 [this] { host_.Leave(); });
    leave_->setToolTip(Text("Вернуться к красивому окошку"));
    status_ = new QStatusBar(&window_);
    status_->setSizeGripEnabled(false);
}

void TStandardWindow::ShowBars(bool restricted) {
    if (!toolbar_) Build();
    for (QAction* hidden : {dropDowns_[0], dropDowns_[1], divider_}) hidden->setVisible(false);
    leave_->setVisible(!restricted);
    toolbar_->show();
    toolbar_->raise();
    status_->hide();
}

void TStandardWindow::HideBars() {
    if (!toolbar_) return;
    toolbar_->hide();
    status_->hide();
}

QRect TStandardWindow::Layout() {
    QRect area = window_.rect();
    if (!toolbar_ || !toolbar_->isVisibleTo(&window_)) return area;
    const int barHeight = toolbar_->sizeHint().height();
    toolbar_->setGeometry(0, 0, area.width(), barHeight);
    area.setTop(barHeight);
    if (status_->isVisibleTo(&window_)) {
        const int statusHeight = status_->sizeHint().height();
        status_->setGeometry(0, area.bottom() + 1 - statusHeight, area.width(), statusHeight);
        area.setBottom(area.bottom() - statusHeight);
    }
    return area;
}

void TStandardWindow::FillMenu(int which, const std::vector<RHistoryEntry>& history, const std::vector<int>& indexes) {
    const QList<QAction*> entries = menus_[which]->actions();
    for (int i = 0; i < entries.size(); ++i) {
        const int index = i < int(indexes.size()) ? indexes[size_t(i)] : -1;
        const bool used = index >= 0 && index < int(history.size());
        entries[i]->setVisible(used);
        if (!used) continue;
        entries[i]->setText(ToQt(StandardMenuCaption(history[size_t(index)])));
        entries[i]->setData(index);
    }
}

// "Назад" holds the older pages position + 1 … + 7, nearest first; "Вперед" the newer ones
// position − 1 … − 7, nearest at the top.
void TStandardWindow::HistoryRefresh(const std::vector<RHistoryEntry>& history, int position, bool canBack, bool canForward) {
    if (!toolbar_) return;
    dropDowns_[0]->setEnabled(canBack);
    dropDowns_[1]->setEnabled(canForward);
    std::vector<int> older, newer;
    for (int k = 1; k <= kMenuEntries; ++k) {
        older.push_back(position + k);
        newer.push_back(position - k);
    }
    FillMenu(0, history, older);
    FillMenu(1, history, newer);
}

void TStandardWindow::ShowLinkStatus(const std::string& text) {
    if (status_) status_->showMessage(ToQt(text));
}
