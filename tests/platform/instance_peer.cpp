// The other process of the instance tests.
//   instance_peer lock <name hex>       takes the instance lock, prints "locked" or "refused",
//                                       holds it until stdin closes
//   instance_peer window <caption hex> <shown file hex>
//                                       a visible window that answers file queries as a picture
//                                       window does and reports the pages it is sent
//   instance_peer                       exits at once
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"

namespace {

std::string Unhex(const char* hex) { return QByteArray::fromHex(hex).toStdString(); }

void Say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int HoldLock(const std::string& name) {
    TInstanceLock lock;
    Say(lock.TryAcquire(name) ? "locked" : "refused");
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

int RunWindow(int argc, char** argv, const std::string& caption, const std::string& shownFile) {
    QCoreApplication app(argc, argv);
    auto* window = new TChannelWindow(&app);
    window->SetCaption(caption);
    window->SetVisible(true);
    auto& channel = TInstanceChannel::Instance();

    QObject::connect(window, &TChannelWindow::CopyDataReceived, window, [&](quint64 sender, const RInstanceData& data) {
        if (data.kind == RInstanceData::kQueryShownFile) {
            const bool yes = data.codes[0] == 0 && data.strings[0] == shownFile;
            channel.PostMessage(sender, 0x04C9, yes ? 1 : 0, 0);
        } else if (data.kind == RInstanceData::kShowPage) {
            QByteArray line = "page " + QByteArray::number(data.count);
            for (const auto& s : data.strings) line += ' ' + QByteArray::fromStdString(s).toHex();
            Say(line);
            channel.PostMessage(sender, 0x069A, window->Handle(), 0);
        }
    });
    // Deleting the window inside its own signal is allowed, and the sender still gets its answer.
    QObject::connect(window, &TChannelWindow::CloseRequested, &app, [&] {
        delete window;
        Say("closed");
        app.quit();
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) app.quit();
    });
    Say("ready " + QByteArray::number(window->Handle()));
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "lock" && argc == 3) return HoldLock(Unhex(argv[2]));
    if (mode == "window" && argc == 4) return RunWindow(argc, argv, Unhex(argv[2]), Unhex(argv[3]));
    return 0;
}
