// A second process of the book for tests: finds a window by caption, sends it a record of the
// given kind with one string, and waits for the answer: "page shown" for kind 0, the yes/no
// answer for kind 3 (a query of the shown file).
// Usage: send_record CAPTION KIND STRING [nowait]
// (exit 0: page shown, 10/11: answered no/yes, 3: no answer, 4: no window)
#include <QCoreApplication>
#include <QDeadlineTimer>

#include "base/Cp1251.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5) return 2;
    TChannelWindow self;
    self.SetCaption("sender");
    self.SetVisible(true);
    bool answered = false;
    int code = 0;
    QObject::connect(&self, &TChannelWindow::MessageReceived, [&](quint32 message, quint64 wParam, quint64) {
        if (message == 0x069A) answered = true;
        if (message == 0x04C9) answered = true, code = 10 + int(wParam);
    });
    THandle window = 0;
    if (!TInstanceChannel::Instance().FindVisibleWindow(Cp1251::fromUtf8(argv[1]), window)) return 4;
    RInstanceData record;
    record.kind = static_cast<uint16_t>(std::atoi(argv[2]));
    record.strings[0] = Cp1251::fromUtf8(argv[3]);
    if (!TInstanceChannel::Instance().SendCopyData(window, self.Handle(), record)) return 5;
    if (argc == 5) return 0;  // a window that answers nothing: delivered is all
    QDeadlineTimer deadline(15000);
    while (!answered && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return answered ? code : 3;
}
