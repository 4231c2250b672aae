#pragma once
// ISkinControlsHost: what the skin's controls need of the window they sit on: the window itself
// (their parent, its place on the screen), the interface description and the current screen,
// the skin's pictures and settings, the page frame and trees the popups and the find work on,
// and the route of the commands their items run.
#include <QImage>

#include <string>

#include "rules/CommandTarget.h"

class QWidget;
class IPageFrame;
class THtmlFrame;
class TInterfaceDescription;
class TTreeViews;

class ISkinControlsHost {
public:
    virtual ~ISkinControlsHost() = default;
    virtual QWidget& ControlsWindow() = 0;
    virtual const TInterfaceDescription& Elements() const = 0;
    virtual int CurrentScreen() const = 0;
    virtual QImage LoadPicture(const std::string& name) const = 0;
    virtual bool ButtonSoundsOn() const = 0;
    virtual bool HintsShown() const = 0;
    virtual bool InThesaurusWindow() const = 0;
    // The page frame (null without page views); the book's own, with its history, when it has one.
    virtual IPageFrame* PageFrame() const = 0;
    virtual THtmlFrame* HtmlFrame() const = 0;
    virtual TTreeViews* Tree(int file) const = 0;  // 1: tree1.cfs, 2: tree2.cfs; may be null
    virtual void ChooseFont() = 0;
    // A control took the pointer: no skin element keeps its hover look.
    virtual void PointerLeftSkin() = 0;
    virtual TCommandRoutes Routes() = 0;
};
