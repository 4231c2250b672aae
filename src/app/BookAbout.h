#pragma once
// TBookAbout: the about window, made the first time "about" asks for it from the bundle's
// About.cfs (without it "about" does nothing). Its buttons sound and its hints show as the
// options say; it opens animated while the animation setting is on.
#include <functional>
#include <memory>
#include <utility>

#include "skin/AboutBox.h"

class ISkinControlsHost;
class TReadBin;

class TBookAbout : private IAboutHost {
public:
    // bundle: the book's bundle as the start-up reads it; animation: the options' animation
    // setting at the moment of showing.
    TBookAbout(ISkinControlsHost& window, const std::unique_ptr<TReadBin>& bundle, std::function<bool()> animation)
        : window_(window), bundle_(bundle), animation_(std::move(animation)) {}

    void Show();
    // The window closes: an open about window goes first.
    void Close();
    TAboutBox* Box() const { return box_; }

private:
    // IAboutHost: the window's pictures and settings; button sounds beside the program.
    QImage LoadPicture(const std::string& name) const override;
    void PlaySound(const std::string& sound) override;
    void OpenLink(const std::string& target) override;
    bool HintsShown() const override;
    bool Animation() const override { return animation_(); }

    ISkinControlsHost& window_;
    const std::unique_ptr<TReadBin>& bundle_;
    std::function<bool()> animation_;
    TAboutBox* box_ = nullptr;  // the window's child once made
};
