#include "html/FontForm.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "html/ColorGrid.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/QtText.h"

namespace {

struct RNamedColor {
    const char* name;
    uint32_t value;
};

// The named colours that are not system colours, in the order the list shows them; the first
// sixteen are the basic colours of the grids.
constexpr RNamedColor kColors[] = {
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clDefault", 0x20000000},  {"clNone", 0x1FFFFFFF},
};
constexpr uint32_t kButtonFace = 0x8000000F;

const char kPreviewText[] =
    "<center><h1>Заголовок</h1></center><ul>Нормальный текст<li><a href=NoWhere>Ссылка</a><li><b>Жирный "
    "текст</b><li><i>Наклонный текст</i><li><code>Текст кода</code></ul> <hr>";

uint32_t ToBgr(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

uint32_t RealPageColor(uint32_t color, uint32_t fallback) {
    if ((color >> 24) == 0) return color;
    if (color == kButtonFace) return ToBgr(QApplication::palette().color(QPalette::Active, QPalette::Button));
    return fallback;
}

TFontForm::TFontForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(Tr("Шрифт"));
    setFixedSize(315, 339);
    BuildControls();
    FillFonts();
    FillBackgrounds();
    Render();
}

void TFontForm::BuildControls() {
    auto label = [this](const char* text, int x, int y, QWidget* buddy) {
        auto* l = new QLabel(Tr(text), this);
        l->move(x, y);
        l->setBuddy(buddy);
    };
    preview_ = new TFrameViewer(this);
    preview_->setGeometry(15, 16, 193, 177);
    connect(preview_, &TFrameViewer::HotSpotClick, this, [](const QString&, const QString&, bool, bool& handled) { handled = true; });
    std::vector<unsigned> basic;
    for (size_t i = 0; i < 16; ++i) basic.push_back(kColors[i].value);
    auto* textGrid = new TColorGrid(basic, this);
    textGrid->setGeometry(225, 23, 72, 72);
    connect(textGrid, &TColorGrid::ColorPicked, this, [this](unsigned c) { SetFontColor(c); });
    label("Цвет &текста", 225, 7, textGrid);
    auto* link = new TColorGrid(basic, this);
    link->setGeometry(225, 114, 72, 72);
    connect(link, &TColorGrid::ColorPicked, this, [this](unsigned c) { SetHotSpotColor(c); });
    label("Цвет &ссылки", 225, 99, link);
    size_ = new QSpinBox(this);
    size_->setGeometry(225, 206, 65, 22);
    size_->setRange(6, 24);
    size_->setValue(12);
    connect(size_, &QSpinBox::valueChanged, this, [this](int points) { SetFontSize(points); });
    label("&Размер", 225, 189, size_);
    fonts_ = new QListWidget(this);
    fonts_->setGeometry(11, 217, 87, 115);
    connect(fonts_, &QListWidget::currentTextChanged, this, [this](const QString& name) { SetFontName(FromQt(name)); });
    label("&Шрифт", 9, 200, fonts_);
    backgrounds_ = new QListWidget(this);
    backgrounds_->setGeometry(122, 217, 87, 115);
    connect(backgrounds_, &QListWidget::currentRowChanged, this, [this] { SetBackground(SelectedBackground()); });
    label("&Цвет фона", 122, 200, backgrounds_);
    auto button = [this](const char* text, int y) {
        auto* b = new QPushButton(Tr(text), this);
        b->setGeometry(226, y, 63, 25);
        return b;
    };
    connect(button("&Сброс", 246), &QPushButton::clicked, this, &TFontForm::Reset);
    QPushButton* ok = button("O&K", 274);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(button("Отмена", 301), &QPushButton::clicked, this, &QDialog::reject);
}

// The families sorted as the list shows them, ignoring case. Without an "Arial" family the one the
// font configuration substitutes for it (a metric-compatible one) is listed as "Arial".
void TFontForm::FillFonts() {
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family)) families << family;
    const QString arial = QStringLiteral("Arial");
    if (!families.contains(arial, Qt::CaseInsensitive)) {
        const int at = families.indexOf(QFontInfo(QFont(arial)).family());
        if (at >= 0) families[at] = arial;
    }
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    const QSignalBlocker quiet(fonts_);
    fonts_->addItems(families);
}

void TFontForm::FillBackgrounds() {
    const QSignalBlocker quiet(backgrounds_);
    for (const RNamedColor& c : kColors) {
        auto* item = new QListWidgetItem(QString::fromLatin1(c.name), backgrounds_);
        item->setData(Qt::UserRole, uint(c.value));
    }
}

void TFontForm::SetFontName(const std::string& name) {
    fontName_ = name;
    QList<QListWidgetItem*> found = fonts_->findItems(ToQt(name), Qt::MatchFixedString);
    if (found.isEmpty()) found = fonts_->findItems(QStringLiteral("Arial"), Qt::MatchFixedString);
    const QSignalBlocker quiet(fonts_);
    fonts_->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    Render();
}

void TFontForm::SetFontColor(uint32_t color) {
    color_ = color;
    Render();
}

void TFontForm::SetFontSize(int points) {
    fontSize_ = points;
    const QSignalBlocker quiet(size_);
    size_->setValue(points);
    Render();
}

void TFontForm::SetHotSpotColor(uint32_t color) {
    hotSpotColor_ = color;
    Render();
}

// A colour without a name joins the list as "$" and eight hexadecimal digits.
void TFontForm::SetBackground(uint32_t color) {
    background_ = color;
    int row = -1;
    for (int i = 0; i < backgrounds_->count() && row < 0; ++i)
        if (backgrounds_->item(i)->data(Qt::UserRole).toUInt() == color) row = i;
    const QSignalBlocker quiet(backgrounds_);
    if (row < 0) {
        auto* item = new QListWidgetItem(QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper(), backgrounds_);
        item->setData(Qt::UserRole, uint(color));
        row = backgrounds_->count() - 1;
    }
    backgrounds_->setCurrentRow(row);
    Render();
}

uint32_t TFontForm::SelectedBackground() const {
    const QListWidgetItem* item = backgrounds_->currentItem();
    return item ? item->data(Qt::UserRole).toUInt() : kButtonFace;
}

RFontAttr TFontForm::Attributes() const {
    RFontAttr a;
    const QListWidgetItem* font = fonts_->currentItem();
    a.name = font ? FromQt(font->text()) : "Arial";
    a.color = RealPageColor(color_, 0);
    a.size = fontSize_;
    a.hotSpotColor = RealPageColor(hotSpotColor_, 13158);
    a.background = RealPageColor(SelectedBackground());
    return a;
}

void TFontForm::Render() {
    if (!preview_) return;
    preview_->SetDefFontName(fontName_);
    preview_->SetDefFontColor(RealPageColor(color_, 0));
    preview_->SetDefFontSize(fontSize_);
    preview_->SetDefHotSpotColor(RealPageColor(hotSpotColor_, 13158));
    preview_->SetDefBackground(RealPageColor(background_));
    preview_->LoadText(Tr(kPreviewText));
}

void TFontForm::showEvent(QShowEvent* event) {
    const QListWidgetItem* font = fonts_->currentItem();
    savedName_ = font ? FromQt(font->text()) : fontName_;
    savedColor_ = color_;
    savedSize_ = fontSize_;
    savedHotSpot_ = hotSpotColor_;
    savedBackground_ = SelectedBackground();
    QDialog::showEvent(event);
}

void TFontForm::Reset() {
    SetFontName(savedName_);
    SetFontColor(savedColor_);
    SetFontSize(savedSize_);
    SetHotSpotColor(savedHotSpot_);
    SetBackground(savedBackground_);
}
