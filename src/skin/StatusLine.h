#pragma once
// TStatusLine: short status messages ("Файл скопирован") blinked in every "statusline" text
// label. ShowStatus shows the message and starts a 200 ms blink: each tick hides it on odd counts
// and shows it on even ones, and from a count of 40 on the blink stops, the message hidden. The
// blink runs its course even on a screen without status labels. Without any text labels it does
// nothing. Window thread only.
#include <QObject>
#include <QTimer>

#include <string>

class TTextMsg;

class TStatusLine : public QObject {
public:
    static constexpr int kTickMs = 200;
    static constexpr int kLastCount = 40;

    explicit TStatusLine(TTextMsg* texts);  // texts may be null

    void ShowStatus(const std::string& text);
    void ClearStatus();
    // One blink step; the timer calls it.
    void Tick();

    bool Blinking() const { return timer_.isActive(); }
    int Counter() const { return counter_; }
    const std::string& Message() const { return message_; }

private:
    TTextMsg* texts_;
    QTimer timer_;
    std::string message_;
    int counter_ = 1;
};
