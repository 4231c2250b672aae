#pragma once
// TSkinScreen: the buttons and switches of the current screen as the user meets them. It owns
// the screen's element pictures, builds them when a screen is shown (reusing the records of the
// previous one), keeps every element's first look in the background, paints the other looks over
// it and fades between them. PointerMove, PointerDown and PointerUp change looks and states and
// return the commands the window must hand to the dispatcher, in order, instead of running them;
// switch states are stored between runs and replayed when a screen is built.
//
// It is no widget. The window it lives on is only the parent of the elements' hint carriers and
// what their fades repaint; without one (tests) there are no carriers and nothing is repainted.
// The element records stay in the interface description, which must outlive the screen: their
// hover and on flags, and their right and bottom edges taken from the first picture, live there.
// Window thread only.
#include <QImage>
#include <QPoint>
#include <QSize>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "effects/Ticker.h"
#include "rules/CommandTarget.h"
#include "rules/InterfaceDescription.h"
#include "skin/MyControl.h"

class QPainter;
class QWidget;
class TEffBtnCar;

// The run-time pictures of one button of the current screen.
struct RBtnPic {
    QImage pictures[3];  // normal, hover, pressed
    bool spare = false;
    bool hover = false;
    bool pressed = false;
    TMyControl* control = nullptr;
    TEffBtnCar* fader = nullptr;
    QImage shown;  // the look last given to the window (the end of the last fade)
};

// The run-time pictures of one switch of the current screen; its hover and on flags are the
// record's.
struct RSwthPic {
    QImage pictures[4];
    TMyControl* control = nullptr;
    TEffBtnCar* fader = nullptr;  // none for grouped switches: they never fade
    QImage shown;
};

// A command an element hands on, as the dispatcher takes it.
struct RSkinCommand {
    std::string command;
    std::string sound;
    int index = 0;
    int kind = ekButton;
};

// What a press did: a command to run, or nothing under the point, so the window is dragged.
struct RSkinPress {
    std::optional<RSkinCommand> command;
    bool drag = false;
};

// What the screen needs of its window.
struct RSkinHost {
    QWidget* window = nullptr;  // may be null
    std::function<QImage(const std::string& name)> loadPicture;  // a skin picture from the bundle
    std::function<bool()> effectRunning;  // the window's own cross-fade runs: nothing moves
    std::function<bool()> treesHidden;    // both contents trees are hidden
    TTickerFactory tickers;               // for the faders
    TMyControl::TForward forward;         // where the carriers send the pointer
    int buttonFadeStep = 0;               // above 0: every button fades with this step
};

class TSkinScreen {
public:
    TSkinScreen(TInterfaceDescription& elements, RSkinHost host);
    ~TSkinScreen();
    TSkinScreen(const TSkinScreen&) = delete;
    TSkinScreen& operator=(const TSkinScreen&) = delete;

    int Current() const { return current_; }
    const QImage& Background() const { return background_; }
    // Paints a picture into the screen's background (the 3-D clip's still frame and idle
    // picture), until the next screen is built.
    void DrawOnBackground(QPoint at, const QImage& picture);
    const std::vector<RBtnPic>& ButtonPictures() const { return buttonPics_; }
    const std::vector<RSwthPic>& SwitchOnePictures() const { return onePics_; }
    const std::vector<RSwthPic>& SwitchGrpPictures() const { return grpPics_; }

    // Makes screen the current one and loads its background and its elements' pictures. A
    // picture the bundle lacks leaves its slot as it was (empty on the first build), and an
    // element without its first picture has no area.
    void Build(int screen, bool firstBuild);
    // Hints on the carriers, from the next build on.
    void SetHintsShown(bool shown) { hints_ = shown; }
    void SetButtonHint(const std::string& command, const std::string& hint);

    // The background, then each element's look for its state and the pointer.
    void Paint(QPainter& painter) const;

    void PointerMove(QPoint point);
    // silent (Shift held): switches change as by a click but send nothing.
    RSkinPress PointerDown(QPoint point, bool silent);
    // The commands of the buttons released inside, in list order; the window runs them and stops
    // when one changes the screen.
    std::vector<RSkinCommand> PointerUp(QPoint point);

    // Presses, silently, every single switch whose next command holds mark and every grouped
    // switch whose command holds it (history moves bring the switches back in step).
    void PressSilently(const std::string& mark);
    // The point a program's own click on an element uses: its top-left corner + (1, 1).
    std::optional<QPoint> ClickPoint(int kind, int index) const;
    // The element that sent a command leaving the screen loses its hover and press; a button's
    // running fade stops when asked.
    void ForgetPointer(int kind, int index, bool stopFade);
    // Whether a single switch of the current screen whose "godown" is command is on.
    bool SwitchedOn(const std::string& downCommand) const;

    // Runs the commands of the current screen's switch states: at start every single switch
    // once, on a screen change twice except those whose "godown" is "3d"; then every grouped
    // switch that is on. It stops when a command changes the screen.
    void ReplaySwitches(bool screenChange, const std::function<void(const RSkinCommand&)>& run);
    // States of switches whose "store" is on, per screen and index, under the settings of title.
    void ReadSwitchStates(const std::string& title);
    void WriteSwitchStates(const std::string& title) const;

private:
    template <class Element, class Pic>
    void Rebuild(std::vector<Element>* list, std::vector<Pic>& pics, bool firstBuild);
    void ChangeLook(TEffBtnCar* fader, QImage& shown, const QImage& from, const QImage& to, QPoint at);
    bool FadesAllowed() const;
    void Update() const;

    TInterfaceDescription& elements_;
    RSkinHost host_;
    int current_ = 0;
    bool hints_ = true;
    QImage background_;
    std::vector<RBtnPic> buttonPics_;
    std::vector<RSwthPic> onePics_;
    std::vector<RSwthPic> grpPics_;
};
