#pragma once
// TCoolDialog: the message dialog, a frameless always-on-top window drawn from the pages of its
// description. A page shows a background, a text, buttons and one-of-many switches; page 0
// carries messages, page 1 is the full-text find with the find boxes and a result list, pages 2
// and 3 the printer messages. ShowDialog builds a page and returns at once; a command of a button
// or switch closes it (result 6 "yes", 7 "no", 2 anything else) or talks to the find. A text
// wider than its area widens the page by repeating its middle column, and the buttons move with
// their "align". Switches replay their commands on every show; those marked "store" keep their
// state between runs as "SwGrpD" + page + index.
//
// The elements are hit-tested by the dialog itself on the rectangles drawn; their hint carriers
// lie on the same rectangles. Window thread only.
#include <QImage>
#include <QListWidget>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "effects/Ticker.h"
#include "rules/DialogReader.h"
#include "skin/SkinDialogHost.h"

class TEffBtnCar;
class TEffCar;
class TMyControl;

// A button of the shown page: the rectangle drawn (shifted with a wide text), its looks and state.
struct RDialogButton {
    QRect rect;
    std::string command;
    std::string sound;
    QImage pictures[3];  // normal, hover, pressed
    bool hover = false;
    bool pressed = false;
    TMyControl* control = nullptr;
    TEffBtnCar* fader = nullptr;
};

// A switch of the shown page; its state and hover flag are the description's.
struct RDialogSwitch {
    QRect rect;
    QImage pictures[4];  // off, off hover, on hover, on
    TMyControl* control = nullptr;
    TEffBtnCar* fader = nullptr;
};

class TCoolDialog : public QWidget {
public:
    static constexpr int kEmptyFindHeight = 115;
    static constexpr int kClosedCode = 2;

    // The host outlives the dialog; appTitle is the settings key of the stored switch states
    // (CP1251).
    TCoolDialog(TDialogDescription description, ICoolDialogHost& host, TTickerFactory tickers, std::string appTitle);
    ~TCoolDialog() override;

    // False, showing nothing, when the page or its background picture is missing.
    bool ShowDialog(int page, const std::string& text);
    void SetFindButtonHint(const std::string& hint);
    // The find's results in the list under the page, or no list and the short height.
    void ShowFindResults();
    // Closes with a result code. While a search runs the close waits for ScanEnded; the search
    // is asked to stop meanwhile.
    void Close(int code);
    void ScanEnded();
    // Runs a command as the dialog's elements do, without a sound (Enter in the find box).
    void RunCommandWithoutSound(const std::string& command) { RunCommand(command, ""); }

    // The first page with both a "yes" and a "no" button, which can put a question; none when
    // the description has no such page.
    std::optional<int> QuestionPage() const;
    // Shows the page with the text and waits, the rest of the program taking no input, until a
    // button closes it: true for "yes". Nothing when the page cannot be shown or the dialog is
    // already showing another page.
    std::optional<bool> Ask(int page, const std::string& text);
    // Shows the page with the text, the rest of the program taking no input, until it closes:
    // its result code. A page already showing gives way to it. Nothing when the page cannot be
    // shown or another modal page waits.
    std::optional<int> ShowModal(int page, const std::string& text);

    bool Showing() const { return isVisible(); }
    // The opening cross-fade runs: the pointer is ignored meanwhile.
    bool EffectRunning() const;
    int CurrentPage() const { return page_; }
    int ResultCode() const { return resultCode_; }
    int FullHeight() const { return fullHeight_; }
    const std::vector<RDialogButton>& Buttons() const { return buttons_; }
    const std::vector<RDialogSwitch>& Switches() const { return switches_; }
    const TDialogDescription& Description() const { return description_; }
    QListWidget* ResultList() const { return results_; }
    const QImage& Picture() const { return picture_; }
    // Paints a picture onto the page (the scale bar) and keeps it for later repaints.
    void DrawIntoPicture(QPoint at, const QImage& picture);

    // The pointer in dialog coordinates. PointerDown is true when the press starts a drag.
    void PointerMove(QPoint point);
    bool PointerDown(QPoint point);
    void PointerUp(QPoint point);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage Compose(const QImage& background, const std::string& text, int& widening) const;
    void BuildButtons(int widening);
    void BuildSwitches();
    TMyControl* Carrier(const QRect& rect, const std::string& hint);
    void PlaceFindBoxes();
    void CentreOnMainWindow();
    void RunCommand(const std::string& command, const std::string& sound);
    void RemoveResults();
    void FreeElements();
    void FinishClose(int code);
    void Fade(TEffBtnCar* fader, const QImage& from, const QImage& to, QPoint at);
    void PaintSwitch(QPainter& painter, const RDialogSwitch& pic, const RSwthGrp& record) const;
    std::vector<std::string> StoredNames() const;
    void ReadSwitchStates();
    void WriteSwitchStates() const;

    TDialogDescription description_;
    ICoolDialogHost& host_;
    TTickerFactory tickers_;
    std::string appTitle_;
    TEffCar* effect_ = nullptr;
    int page_ = 0;
    int resultCode_ = 0;
    int fullHeight_ = 0;
    QImage picture_;  // the composed page
    std::vector<RDialogButton> buttons_;
    std::vector<RDialogSwitch> switches_;
    QPointer<QListWidget> results_;
    std::optional<int> pendingClose_;
    class QEventLoop* asking_ = nullptr;  // the wait of Ask, ended by the close
    QPoint dragFrom_;  // where a drag the window system could not take began; null: none
};
