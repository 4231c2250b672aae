#pragma once
// A reader's own act under way: a click on a page link or a skin element, a key, a popup item, a
// dialog button, a dropped file, a command typed on the command line. What reaches beyond the
// book (starting programs, opening files with other programs) happens only while one is under
// way, so no page script, replayed switch or message of another process can do it alone.
//
// An act holds only in the event loop it began in: an event handled inside a nested loop (a
// dialog's, a wait for the page) is not the reader's act, even while the act's scope is open.
// Window thread only.
class TReaderAct {
public:
    TReaderAct();
    ~TReaderAct();
    TReaderAct(const TReaderAct&) = delete;
    TReaderAct& operator=(const TReaderAct&) = delete;

    static bool Underway();

    // While one lives, what the program does of itself is no reader's act (switch states replayed
    // on a screen change, say), though a reader's click led to it.
    class TProgramOwn {
    public:
        TProgramOwn();
        ~TProgramOwn();
        TProgramOwn(const TProgramOwn&) = delete;
        TProgramOwn& operator=(const TProgramOwn&) = delete;

    private:
        int saved_;
    };

private:
    int saved_;
};
