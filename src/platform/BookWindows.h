#pragma once
// The windows of the book's processes as the others know them: their captions (CP1251) and the
// window messages they send each other besides instance records.
#include <cstdint>

namespace BookWindows {

inline constexpr char kThesaurus[] = "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1";  // Тезаурус
inline constexpr char kEnlargedPicture[] =
    "\xD3\xE2\xE5\xEB\xE8\xF7\xE5\xED\xED\xE0\xFF \xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0";  // Увеличенная картинка
inline constexpr char kHelp[] = "\xCF\xEE\xEC\xEE\xF9\xFC";  // Помощь
inline constexpr char kWiringViewer[] = "Varurorivazi";  // the wiring-diagram viewer beside the book
// The help viewer's windows on the book's help file.
extern const char* const kHelpCaptions[4];

inline constexpr uint32_t kMsgPrintPending = 0x04C8;  // print the picture a record named
inline constexpr uint32_t kMsgAnswer = 0x04C9;        // 1: this very file is shown
inline constexpr uint32_t kMsgPageShown = 0x069A;     // the page a record named is shown

// Asks the visible windows with the caption to close, at most times of them: a window that
// refuses cannot hold the caller up.
void CloseWindows(const char* caption, int times);

} // namespace BookWindows
