#pragma once
// TFormOptions: the settings dialog "Настройки", made once, hidden, while the main window is
// built. Its creation loads the preferences (see Options.h), which it then owns for the run. Its
// three pages hold the general options, the player's (never shown: no interface declares
// playlists) and the pictures' (shown when the interface has picture areas). Showing puts the
// values into the controls; OK stores what changed, writes the interface choice and hands the
// slide settings to the slide show at once; Cancel only hides it. Window thread only.
#include <QDialog>
#include <functional>

#include "settings/Options.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTabWidget;

// What OK changes beyond the store, and the font button.
struct ROptionsHost {
    std::function<void(bool run)> runSlideShow;
    std::function<void(int seconds)> slideShowTime;  // the slide timer: seconds × 1000 + 1 ms
    std::function<void(int sequence)> imageSequence;
    std::function<void()> chooseFont;
};

class TFormOptions : public QDialog {
    Q_OBJECT
public:
    TFormOptions(QWidget* parent, bool withPlayer, bool withPictures, ROptionsHost host);

    const ROptions& Values() const { return values_; }
    // The interface has a start clip / button sounds: their boxes can be used.
    void EnableClip(bool on);
    void EnableWav(bool on);
    // The background music went on or off; its box follows.
    void SetBGSound(bool on);
    // The main window's start is over: no further window animation.
    void ClearAnimation() { values_.animation = false; }
    // "options": shows the dialog centred on the screen, without blocking.
    void ShowOptions();

    // The seconds label's text for a track bar position.
    static QString SecondsText(int seconds);

    QTabWidget* Pages() const { return pages_; }
    QCheckBox* ClipBox() const { return clip_; }
    QCheckBox* WavBox() const { return wav_; }
    QComboBox* ScaleBox() const { return scale_; }
    QCheckBox* SlideShowBox() const { return slideShow_; }
    QSlider* TrackBar() const { return track_; }
    QLabel* SecondsLabel() const { return seconds_; }
    QAbstractButton* OkButton() const { return ok_; }
    QAbstractButton* CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildMainPage();
    QWidget* BuildPlayerPage();
    QWidget* BuildPicturesPage();
    void BuildButtons();
    void OkClick();
    void ApplyPlayer(TSettingsStore& store);
    void ApplyPictures(TSettingsStore& store);

    ROptions values_;
    ROptionsHost host_;
    bool withPlayer_;
    bool withPictures_;
    QTabWidget* pages_ = nullptr;
    QCheckBox* clip_ = nullptr;
    QCheckBox* wav_ = nullptr;
    QCheckBox* bgSound_ = nullptr;
    QCheckBox* animation_ = nullptr;
    QCheckBox* hint_ = nullptr;
    QButtonGroup* sizes_ = nullptr;
    QComboBox* scale_ = nullptr;  // "Масштаб окна": Авто, 100 %, 150 %, 200 %
    QCheckBox* autoStart_ = nullptr;
    QCheckBox* cyclic_ = nullptr;
    QLineEdit* playLists_[3] = {};
    QCheckBox* slideShow_ = nullptr;
    QSlider* track_ = nullptr;
    QLabel* seconds_ = nullptr;
    QButtonGroup* sequence_ = nullptr;
    QAbstractButton* ok_ = nullptr;
    QAbstractButton* cancel_ = nullptr;
};
