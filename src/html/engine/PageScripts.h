#pragma once
// The scripts a frame viewer puts into its pages, and the bounded wait for their answers.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QWebEnginePage;

// Attribute that marks a link as visited.
inline constexpr char kVisitedAttribute[] = "data-bookshell-visited";

struct RPageDefaults {
    unsigned fontColor = 0;        // colours as 0x00BBGGRR
    unsigned hotSpotColor = 0;
    unsigned background = 0xFFFFFF;
    unsigned overLinkColor = 0xFF;
    unsigned visitedColor = 0x800080;
};

// "#rrggbb" of a 0x00BBGGRR colour.
QString CssColor(unsigned bgr);
// A JavaScript string literal.
QString JsString(const QString& text);
QString JsStringList(const QStringList& list);

// Runs at document creation in every frame, in the viewer's script world after the channel's
// client: reports the link under the reader's pointer and every link the reader clicks (which the
// browser then does not follow), each with its address, its target, its text as the page wrote
// it, the address of its document and the place of its frame.
QString LinkReportScript();
// A function body prefix: `framePath(w)` names a frame window by its place ("" the page, "1/0"
// the first frame of the second frame) and `frameAt(path)` finds it again.
QString FramesHelper();
// Follows a link of the frame at fromFrame with its target inside the page: the value is the
// place of the frame it loads, or null when it is the page itself (the viewer then loads it).
QString FollowInFrameScript(const QString& fromFrame, const QString& url, const QString& target);
// Puts the documents back into the frames of a page just loaded.
QString RestoreFramesScript(const QStringList& frames, const QStringList& urls);
// Runs at document creation in every frame: the defaults as a stylesheet that the page's own
// styles and colour attributes override.
QString DefaultsScript(const RPageDefaults& defaults);
// Marks the links whose address (lower-cased, without anchor) is in the list, unmarks others.
QString MarkVisitedScript(const QStringList& visitedUrls);

// A function body prefix: `docs()` yields this document and those of all same-origin frames.
QString DocumentsHelper();

// Runs a script in the viewer's world of the page's main frame and waits for its value, at most PageAnswerWait()
// milliseconds; *answered (when given) tells whether it came in time.
QVariant RunPageScript(QWebEnginePage* page, const QString& script, bool* answered = nullptr);

// The longest wait for an answer of the browser (100 ms; a slow test machine may allow more).
int PageAnswerWait();
void SetPageAnswerWait(int milliseconds);

// Lets events run until done() holds, at most PageAnswerWait() milliseconds.
void WaitBriefly(const std::function<bool()>& done);
