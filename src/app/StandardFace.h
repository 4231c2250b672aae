#pragma once
// TStandardFace: the main window's other face, an ordinary framed window with the standard bars
// (started with a file, or turned into from the skin by "standartwin"), and back to the skin.
// The page view fills the area between the bars; the size follows a picture shown; while it is
// the standard window its caption tells other instances that it shows an enlarged picture.
#include <QRegion>
#include <QSize>

#include <memory>
#include <string>

#include "rules/CommandTarget.h"

class QWidget;
class THtmlFrame;

// What the face needs of the window: the window, its page frame, its skinned shape and size,
// its caption, and the skin's controls that hide while the window is the standard one.
class IStandardFaceHost {
public:
    virtual ~IStandardFaceHost() = default;
    virtual QWidget& FaceWindow() = 0;
    virtual THtmlFrame* HtmlFrame() const = 0;
    virtual bool HelpOnly() const = 0;
    virtual const QRegion& WindowRegion() const = 0;
    virtual void ApplyRegion(const QRegion& region) = 0;
    virtual QSize SkinSize() const = 0;  // the first screen's background; empty without a skin
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetStandardForm(bool standard) = 0;
};

#include "app/StandardWindow.h"

class TStandardFace : private IStandardBarsHost {
public:
    TStandardFace(IStandardFaceHost& host, IPageCommands& pages);
    ~TStandardFace();

    bool Active() const { return active_; }
    TStandardWindow* Bars() const { return bars_.get(); }
    // restricted: only "Печать" shows, in a window of its own size (not maximised).
    void Enter(bool restricted);
    // "Свернуть": the skinned window again, with its size, shape, caption and controls.
    void Leave() override;
    // The menus follow the page frame's history.
    void RefreshHistory();
    void ShowLinkStatus(const std::string& text);
    void Resized();

private:
    // IStandardBarsHost: the history menus, "Печать" and "Свернуть".
    void GoToHistory(int index) override;
    void Step(bool back) override { back ? pages_.Back() : pages_.Forward(); }
    void Print() override { pages_.PrintHtml(); }

    IStandardFaceHost& host_;
    IPageCommands& pages_;
    std::unique_ptr<TStandardWindow> bars_;
    QRegion savedRegion_;  // the skinned window's shape while it is the standard window
    bool active_ = false;
};
