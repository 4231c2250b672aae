#pragma once
// A small book for the print tests, on disk with the disc mapped to d: and the program in
// d:\run\: a long page that prints on several sheets, a short one, a wide and a tall picture.
// Helpers drive the modal windows the preview opens.
#include <QString>
#include <functional>
#include <string>

class QWidget;

void SetUpPrintBook();
inline const char kLongPage[] = "d:\\run\\html\\long.htm";
inline const char kShortPage[] = "d:\\run\\html\\short.htm";
inline const char kFramesPage[] = "d:\\run\\html\\frames.htm";  // the short page over the long one
inline const char kWidePicture[] = "d:\\run\\html\\wide.bmp";  // 1200 × 400
inline const char kTallPicture[] = "d:\\run\\html\\tall.bmp";  // 300 × 900

// Whether the tests print: a default printer is there; fails the test when the test command
// promised one (BOOKSHELL_PRINT_OUT) and there is none.
bool PrinterExpected();
// Runs answer on the next modal window that opens (within 20 s) and that accept takes.
void OnNextModal(std::function<bool(QWidget*)> accept, std::function<void(QWidget*)> answer);
template <typename T> void OnNextModal(std::function<void(T*)> answer) {
    OnNextModal([](QWidget* w) { return dynamic_cast<T*>(w) != nullptr; }, [answer](QWidget* w) { answer(dynamic_cast<T*>(w)); });
}
// Waits until done() holds, at most timeoutMs.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000);
