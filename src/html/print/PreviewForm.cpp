#include "html/print/PreviewForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "html/print/PreviewPage.h"
#include "html/print/PrintFrameViewer.h"
#include "html/print/PrintJob.h"
#include "html/print/PrinterCheck.h"
#include "platform/BookWindows.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"
#include "platform/QtText.h"

namespace {

constexpr uint32_t kMsgPreviewOpened = 1690;  // tells the wiring viewer a preview opened
const char kCaption[] = "Предварительный просмотр";
const char kNotPrepared[] = "Не удалось подготовить страницу к печати.";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TPreviewForm::TPreviewForm(TPrintFrameViewer& viewer, RPrintHost host, QWidget* parent)
    : QDialog(parent), viewer_(viewer), host_(std::move(host)) {
    setWindowTitle(Utf8(kCaption));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QApplication::windowIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolBar();
    layout->addWidget(toolBar_);
    scrollBox_ = new QScrollArea(this);
    scrollBox_->setBackgroundRole(QPalette::Dark);
    container_ = new QWidget;
    scrollBox_->setWidget(container_);
    for (int i = 0; i < 2; ++i) {
        panels_[size_t(i)] = new TPreviewPage(pages_, container_);
        ConnectPanel(panels_[size_t(i)], i);
    }
    layout->addWidget(scrollBox_, 1);
    auto* bar = new QStatusBar(this);
    BuildStatusBar(bar);
    layout->addWidget(bar);
    BuildMenu();
    ConnectButtons();
    SetCaptions(false);
    channel_ = std::make_unique<TChannelWindow>();
    channel_->SetCaption(FromQt(Utf8(kCaption)));
    pages_.OnPrintHeader = host_.printHeader;
}

TPreviewForm::~TPreviewForm() = default;

QAbstractButton* TPreviewForm::AddButton(EButton button, const char* caption, const char* hint, int icon) {
    auto* tool = new QToolButton(toolBar_);
    tool->setText(Utf8(caption));
    tool->setToolTip(Utf8(hint));
    tool->setStatusTip(Utf8(hint));
    tool->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    toolBar_->addWidget(tool);
    buttons_[button] = tool;
    return tool;
}

void TPreviewForm::BuildToolBar() {
    toolBar_ = new QToolBar(this);
    AddButton(kPrint, "Печать", "Печать", QStyle::SP_DialogSaveButton);
    AddButton(kOrientation, "Ориентация листа", "Ориентация листа", QStyle::SP_BrowserReload)->setCheckable(true);
    toolBar_->addSeparator();
    AddButton(kFirst, "Первая станица", "На первую страницу", QStyle::SP_MediaSkipBackward);
    AddButton(kPrevious, "Предыдущая страница", "На предыдущую страницу", QStyle::SP_ArrowLeft);
    AddButton(kNext, "Следующая страница", "На следующую страницу", QStyle::SP_ArrowRight);
    AddButton(kLast, "Последняя страница", "На последнюю страницу", QStyle::SP_MediaSkipForward);
    AddButton(kGoTo, "Переход на страницу", "Переход на страницу", QStyle::SP_FileDialogContentsView);
    toolBar_->addSeparator();
    BuildZoomBox();
    AddButton(kFitPage, "Лист целиком", "Лист целиком", QStyle::SP_FileDialogListView)->setCheckable(true);
    AddButton(kFitWidth, "По ширине", "По ширине", QStyle::SP_ToolBarHorizontalExtensionButton)->setCheckable(true);
    AddButton(kRestoreScale, "Восстановить масштаб", "Восстановить исходный масштаб печати", QStyle::SP_DialogResetButton);
    toolBar_->addSeparator();
    AddButton(kPrintZoom, "Масштаб печати", "Увеличение/уменьшение масштаба печати", QStyle::SP_FileDialogDetailedView);
    AddButton(kViewZoom, "Масштаб просмотра", "Увеличение/уменьшение масштаба просмотра", QStyle::SP_FileDialogInfoView);
    AddButton(kHand, "Перемещение", "Перемещение", QStyle::SP_TitleBarNormalButton);
    toolBar_->addSeparator();
    AddButton(kOnePage, "Один лист", "Один лист на странице", QStyle::SP_FileIcon);
    AddButton(kTwoPages, "Два листа", "Два листа на странице", QStyle::SP_DirIcon);
    toolBar_->addSeparator();
    AddButton(kHelp, "Помощь", "Помощь", QStyle::SP_DialogHelpButton);
    AddButton(kClose, "Выход", "Завершить просмотр", QStyle::SP_DialogCloseButton);
    for (EButton b : {kPrintZoom, kViewZoom, kHand, kOnePage, kTwoPages}) buttons_[b]->setCheckable(true);
    for (EButton b : {kPrintZoom, kViewZoom, kHand, kOnePage, kTwoPages}) buttons_[b]->setAutoExclusive(false);
}

void TPreviewForm::BuildZoomBox() {
    zoomBox_ = new QComboBox(toolBar_);
    for (const char* item : {"Страница целиком", "По ширине страницы", "Вручную", "25%", "50%", "75%", "100%", "125%", "150%",
                             "200%", "300%", "400%"})
        zoomBox_->addItem(Utf8(item));
    const QString hint = Utf8("Выбор масштаба отображения документа");
    zoomBox_->setToolTip(hint);
    zoomBox_->setStatusTip(hint);
    zoomBox_->setFocusPolicy(Qt::NoFocus);  // the page keys stay the preview's
    toolBar_->addWidget(zoomBox_);
}

void TPreviewForm::BuildMenu() {
    menu_ = new QMenu(this);
    QMenu* numbers = menu_->addMenu(Utf8("Номера страниц"));
    auto* group = new QActionGroup(numbers);
    QAction* on = numbers->addAction(Utf8("Выводить"));
    QAction* off = numbers->addAction(Utf8("Не выводить"));
    for (QAction* a : {on, off}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    on->setChecked(true);
    connect(on, &QAction::triggered, this, [this] { SetPageNumbers(true); });
    connect(off, &QAction::triggered, this, [this] { SetPageNumbers(false); });
    captions_ = menu_->addAction(Utf8("Подписи  к кнопкам"));
    captions_->setCheckable(true);
    connect(captions_, &QAction::toggled, this, [this](bool shown) { SetCaptions(shown); });
    backgroundsItem_ = menu_->addAction(Utf8("Печатать фон"));
    backgroundsItem_->setCheckable(true);
    backgroundsItem_->setChecked(true);
    connect(backgroundsItem_, &QAction::toggled, this, [this](bool printed) { SetBackgrounds(printed); });
}

void TPreviewForm::BuildStatusBar(QWidget* bar) {
    auto* status = static_cast<QStatusBar*>(bar);
    for (size_t i = 0; i < status_.size(); ++i) {
        status_[i] = new QLabel(status);
        status->addWidget(status_[i], i == kHintPanel ? 1 : 0);
    }
}

QString TPreviewForm::StatusText(EStatusPanel panel) const { return status_[panel]->text(); }

bool TPreviewForm::Open(bool picture, int pictureWidth, int pictureHeight) {
    TellWiringViewer();
    zoomBox_->setCurrentIndex(PrintGeometry::kWholePage);
    SetTool(kViewZoomTool);
    const RPrinterCheck printer = CheckPrinter();
    pages_.SetPaper(printer.layout, printer.dotsPerInch);
    if (printer.state != EPrinterState::kReady) {
        ShowPrinterMessage(printer.state, host_.showMessagePage, parentWidget());
        return false;
    }
    printScale_ = 1.0;
    // Only a picture with both sides known is fitted; sizes that never came are no picture.
    if (picture && pictureWidth > 0 && pictureHeight > 0) FitPicture(pictureWidth, pictureHeight);
    initialScale_ = printScale_;
    const PrintJob::EResult laidOut = PrintJob::Paginate(this, viewer_, pages_, printScale_, backgrounds_);
    if (laidOut == PrintJob::EResult::kFailed && host_.showMessage) host_.showMessage(FromQt(Utf8(kNotPrepared)));
    if (laidOut != PrintJob::EResult::kDone) return false;
    buttons_[kOrientation]->setChecked(pages_.Landscape());
    return true;
}

bool TPreviewForm::ShowFor(TPrintFrameViewer& viewer, bool picture, int width, int height, RPrintHost host, QWidget* parent) {
    TPreviewForm form(viewer, std::move(host), parent);
    if (!form.Open(picture, width, height)) return false;
    // The whole screen also where no window manager maximises windows.
    if (const QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
    form.exec();
    return true;
}

void TPreviewForm::TellWiringViewer() {
    THandle viewer = 0;
    if (TInstanceChannel::Instance().FindVisibleWindow(BookWindows::kWiringViewer, viewer))
        TInstanceChannel::Instance().PostMessage(viewer, kMsgPreviewOpened, channel_->Handle(), 0);
}

void TPreviewForm::FitPicture(int width, int height) {
    const PrintGeometry::RPictureFit fit = PrintGeometry::FitPicture(pages_.Paper(), width, height);
    pages_.SetLandscape(fit.landscape);
    printScale_ = std::min(1.0, fit.scale);
}

bool TPreviewForm::event(QEvent* event) {
    // The hints of the preview's controls go to the last status panel.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        status_[kHintPanel]->setText(tip.isEmpty() ? QString() : " " + tip);
        return true;
    }
    return QDialog::event(event);
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    channel_->SetVisible(true);
    GoToPage(0);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TPreviewForm::contextMenuEvent(QContextMenuEvent* event) { menu_->popup(event->globalPos()); }
