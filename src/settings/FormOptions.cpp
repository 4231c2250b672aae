#include "settings/FormOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/GlobalPaths.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"

namespace {

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }

QCheckBox* AddBox(QVBoxLayout* layout, const char* caption, bool enabled, bool visible) {
    auto* box = new QCheckBox(Tr(caption));
    box->setEnabled(enabled);
    box->setVisible(visible);
    layout->addWidget(box);
    return box;
}

// A group box of radio buttons numbered from 0, the first checked.
QButtonGroup* AddRadios(QVBoxLayout* layout, const char* title, std::initializer_list<const char*> captions) {
    auto* frame = new QGroupBox(Tr(title));
    auto* inner = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    int id = 0;
    for (const char* caption : captions) {
        auto* radio = new QRadioButton(Tr(caption));
        group->addButton(radio, id++);
        inner->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    layout->addWidget(frame);
    return group;
}

// The window scales of the combo box's items, per cent (0: the screen's).
constexpr int kScales[] = {0, 100, 150, 200};

int ScaleIndex(int percent) {
    for (int i = 0; i < 4; ++i)
        if (kScales[i] == percent) return i;
    return 0;
}

}  // namespace

TFormOptions::TFormOptions(QWidget* parent, bool withPlayer, bool withPictures, ROptionsHost host)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      host_(std::move(host)),
      withPlayer_(withPlayer),
      withPictures_(withPictures) {
    setWindowTitle(Tr("Настройки"));
    setFixedSize(401, 277);
    pages_ = new QTabWidget(this);
    pages_->setGeometry(8, 8, 385, 226);
    pages_->addTab(BuildMainPage(), Tr("Основные"));
    pages_->addTab(BuildPlayerPage(), Tr("Проигрыватель"));
    pages_->addTab(BuildPicturesPage(), Tr("Картинки"));
    pages_->setCurrentIndex(0);
    pages_->setTabVisible(1, withPlayer_);
    pages_->setTabVisible(2, withPictures_);
    BuildButtons();
    values_ = LoadOptions(withPlayer_, withPictures_);
}

QWidget* TFormOptions::BuildMainPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    clip_ = AddBox(layout, "Клип при запуске", false, false);
    wav_ = AddBox(layout, "Озвучка кнопок", false, true);
    bgSound_ = AddBox(layout, "Фоновая музыка", false, false);
    animation_ = AddBox(layout, "Анимация окон", true, false);
    hint_ = AddBox(layout, "Всплывающие подсказки", true, false);
    auto* font = new QPushButton(Tr("Шрифт"));
    font->setFixedWidth(90);
    connect(font, &QPushButton::clicked, this, [this] {
        if (host_.chooseFont) host_.chooseFont();
    });
    layout->addWidget(font);
    sizes_ = AddRadios(layout, " Вариант интерфейса ", {"Автоматический выбор", "800x600", "1024x768", "Произвольный"});
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(new QLabel(Tr("Масштаб окна")));
    scale_ = new QComboBox;
    scale_->addItems({Tr("Авто"), Tr("100 %"), Tr("150 %"), Tr("200 %")});
    scale_->setToolTip(Tr("Авто: как у экрана. Новый масштаб действует со следующего запуска книги."));
    scaleRow->addWidget(scale_);
    scaleRow->addStretch();
    layout->addLayout(scaleRow);
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::BuildPlayerPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    autoStart_ = AddBox(layout, "Автозапуск проигрывателя", true, true);
    cyclic_ = AddBox(layout, "Играть по замкнутому циклу", true, true);
    autoStart_->setChecked(true);
    cyclic_->setChecked(true);
    const char* labels[] = {"Название 1-го списка песен:", "Название 2-го списка песен:", "Название 3-го списка песен:"};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(new QLabel(Tr(labels[i])));
        playLists_[i] = new QLineEdit;
        layout->addWidget(playLists_[i]);
    }
    layout->addStretch();
    return page;
}

QWidget* TFormOptions::BuildPicturesPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    slideShow_ = AddBox(layout, "Включить Слайд-шоу", true, true);
    track_ = new QSlider(Qt::Horizontal);
    track_->setRange(1, 10);
    track_->setValue(1);
    track_->setTickPosition(QSlider::NoTicks);
    layout->addWidget(track_);
    seconds_ = new QLabel(SecondsText(1));
    layout->addWidget(seconds_);
    connect(track_, &QSlider::valueChanged, this, [this](int position) { seconds_->setText(SecondsText(position)); });
    sequence_ = AddRadios(layout, " Последовательность ", {"Прямая", "Обратная"});
    layout->addStretch();
    return page;
}

void TFormOptions::BuildButtons() {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(232, 244, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFormOptions::OkClick);
    auto* cancel = new QPushButton(Tr("Отмена"), this);
    cancel->setGeometry(316, 244, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ok_ = ok;
    cancel_ = cancel;
}

QString TFormOptions::SecondsText(int seconds) {
    const char* unit = seconds == 1 ? " секунда" : seconds >= 2 && seconds <= 4 ? " секунды" : " секунд";
    return QString::number(seconds) + Tr(unit);
}

void TFormOptions::EnableClip(bool on) { clip_->setEnabled(on); }

void TFormOptions::EnableWav(bool on) { wav_->setEnabled(on); }

void TFormOptions::SetBGSound(bool on) {
    values_.bgSound = on;
    bgSound_->setChecked(on);
}

void TFormOptions::ShowOptions() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

// The controls take the values of the run; a box that cannot be used keeps what it shows.
void TFormOptions::showEvent(QShowEvent* event) {
    ok_->setFocus();
    if (clip_->isEnabled()) clip_->setChecked(values_.clip);
    if (wav_->isEnabled()) wav_->setChecked(values_.wav);
    animation_->setChecked(values_.animation);
    hint_->setChecked(values_.hint);
    autoStart_->setChecked(values_.autoStartPlayer);
    cyclic_->setChecked(values_.playingCyclic);
    for (size_t i = 0; i < values_.playLists.size(); ++i) playLists_[i]->setText(ToQt(values_.playLists[i]));
    slideShow_->setChecked(values_.runSlideShow);
    track_->setValue(values_.slideShowTime);
    seconds_->setText(SecondsText(track_->value()));
    if (QAbstractButton* item = sequence_->button(values_.imageSequence)) item->setChecked(true);
    if (QAbstractButton* size = sizes_->button(values_.sizeInterface)) size->setChecked(true);
    scale_->setCurrentIndex(ScaleIndex(values_.windowScale));
    QDialog::showEvent(event);
}

// Only a box that can be used is compared with its flag: a disabled one was never loaded, and
// comparing it would turn its flag off on every OK.
void TFormOptions::OkClick() {
    hide();
    TSettingsStore store(AppTitle());
    if (clip_->isEnabled() && clip_->isChecked() != values_.clip) ToggleFlag(store, "Clip", values_.clip);
    if (wav_->isEnabled() && wav_->isChecked() != values_.wav) ToggleFlag(store, "Wav", values_.wav);
    values_.sizeInterface = std::max(0, sizes_->checkedId());
    store.WriteInteger("SizeInterface", values_.sizeInterface);
    if (const int scale = kScales[scale_->currentIndex()]; scale != values_.windowScale) {
        values_.windowScale = scale;
        store.WriteInteger("WindowScale", scale);
    }
    if (withPlayer_) ApplyPlayer(store);
    if (withPictures_) ApplyPictures(store);
    setResult(QDialog::Accepted);
}

void TFormOptions::ApplyPlayer(TSettingsStore& store) {
    if (autoStart_->isChecked() != values_.autoStartPlayer) ToggleFlag(store, "AutoStartPlayer", values_.autoStartPlayer);
    if (cyclic_->isChecked() != values_.playingCyclic) ToggleFlag(store, "PlayingCyclic", values_.playingCyclic);
    for (size_t i = 0; i < values_.playLists.size(); ++i) {
        const std::string text = FromQt(playLists_[i]->text());
        if (text == values_.playLists[i]) continue;
        values_.playLists[i] = text;
        store.WriteString("NamePlayList" + std::to_string(i + 1), text);
    }
}

void TFormOptions::ApplyPictures(TSettingsStore& store) {
    if (slideShow_->isChecked() != values_.runSlideShow) {
        ToggleFlag(store, "RunSlideShow", values_.runSlideShow);
        if (host_.runSlideShow) host_.runSlideShow(values_.runSlideShow);
    }
    if (track_->value() != values_.slideShowTime) {
        values_.slideShowTime = track_->value();
        store.WriteInteger("SlideShowTime", values_.slideShowTime);
        if (host_.slideShowTime) host_.slideShowTime(values_.slideShowTime);
    }
    const int sequence = std::max(0, sequence_->checkedId());
    if (sequence != values_.imageSequence) {
        values_.imageSequence = sequence;
        store.WriteInteger("ImageSequence", sequence);
        if (host_.imageSequence) host_.imageSequence(sequence);
    }
}
