#pragma once
// What the main window asks of the page frame, the owner of all page views. The frame itself is
// built on the page engine; until a book has page views the window holds none and every page
// command does nothing.
#include <string>

class IPageFrame {
public:
    virtual ~IPageFrame() = default;
    // Opens a file in the view that belongs to the current screen.
    virtual void OpenInCurrentView(const std::string& file) = 0;
    // Opens a file in the view whose "number" is number.
    virtual void OpenInElement(const std::string& file, int number) = 0;
    // Whether the current view is shown.
    virtual bool CurrentViewShown() const = 0;
    // The file shown in the current view (Windows path), empty when none.
    virtual std::string CurrentFile() const = 0;
    virtual void ShowForScreen(int screen) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void CopyPage() = 0;
    virtual void PrintPage() = 0;
    virtual void ScrollToTop() = 0;
    virtual void NextChapter() = 0;
    virtual void PrevChapter() = 0;
    virtual void SelectAll() = 0;
    // Picture printing asked for by another instance.
    virtual void SetPicturePrint(bool on) = 0;
    virtual void SetPicturePrintSize(int width, int height) = 0;
    // True once the file went to the printer.
    virtual bool PrintFile(const std::string& file) = 0;
};
