#pragma once
// TAboutBox: the about window, skinned from About.cfs. A frameless modal window of its background
// picture's size, centred on the screen and cut to its outline; the buttons fade to their hover
// pictures (one level per tick), the texts are drawn onto the background, and "url" texts are
// links opened through the desktop. A press on any other button, Esc or Enter closes it; a press
// elsewhere drags it. Mouse and keys wait while its opening effects run.
#include <QDialog>
#include <QImage>
#include <QRegion>

#include <string>
#include <vector>

#include "effects/Ticker.h"
#include "rules/AboutDescription.h"

class TEffBtnCar;
class TEffCar;

// What the about window needs of the book: its pictures, its buttons' sounds, the links opened,
// and the hint and animation settings.
class IAboutHost {
public:
    virtual ~IAboutHost() = default;
    virtual QImage LoadPicture(const std::string& name) const = 0;  // a bundle picture; null when missing
    virtual void PlaySound(const std::string& sound) = 0;           // a button's "wav", as written
    virtual void OpenLink(const std::string& target) = 0;
    virtual bool HintsShown() const = 0;
    virtual bool Animation() const = 0;  // the options' animation setting at the moment of showing
};

class TAboutBox : public QDialog {
public:
    TAboutBox(QWidget* parent, const RAboutDescription& description, IAboutHost& host, TTickerFactory tickers);
    ~TAboutBox() override;

    // Shows the window, modal to the whole application; the caller goes on.
    void ShowModal();
    bool EffectRunning() const;
    // The link areas and their targets, in text order.
    struct TLink {
        QRect area;
        std::string target;
    };
    const std::vector<TLink>& Links() const { return links_; }
    const QImage& Face() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct TButton {
        RBtn keys;
        QRect area;
        QImage normal;
        QImage hover;
        TEffBtnCar* fader = nullptr;
        bool hovered = false;
    };
    void BuildButtons(const std::vector<RBtn>& buttons);
    void DrawTexts(const std::vector<RText>& texts);
    void PointerAt(QPoint point);
    void PressAt(QPoint point);
    int ButtonAt(QPoint point) const;
    int LinkAt(QPoint point) const;

    IAboutHost& host_;
    TTickerFactory tickers_;
    QImage background_;
    QRegion outline_;  // the window's shape; empty: a rectangle
    std::vector<TButton> buttons_;
    std::vector<TLink> links_;
    TEffCar* car_ = nullptr;
    bool opening_ = false;  // the opening fade-in runs
};
