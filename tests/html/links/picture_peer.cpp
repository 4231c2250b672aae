// An enlarged-picture window in another process, for the picture query tests.
//   picture_peer answer <shown file hex>   answers queries: 1 for its own file, 0 for others
//   picture_peer silent                    never answers
// It prints "ready <handle>", then "query <path hex>" for each query and "activated" when asked
// to come to the front; it ends when its input closes.
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "html/PictureQuery.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"

namespace {

void Say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "silent" && !(mode == "answer" && argc == 3)) return 2;
    const std::string shown = mode == "answer" ? QByteArray::fromHex(argv[2]).toStdString() : std::string();

    QCoreApplication app(argc, argv);
    TChannelWindow window;
    window.SetCaption(TPictureQuery::kPictureCaption);
    window.SetVisible(true);
    QObject::connect(&window, &TChannelWindow::CopyDataReceived, &window, [&](quint64 sender, const RInstanceData& data) {
        if (data.kind != RInstanceData::kQueryShownFile) return;
        Say("query " + QByteArray::fromStdString(data.strings[0]).toHex());
        if (mode == "answer")
            TInstanceChannel::Instance().PostMessage(sender, TPictureQuery::kAnswerMessage, data.strings[0] == shown ? 1 : 0, 0);
    });
    QObject::connect(&window, &TChannelWindow::ActivateRequested, &window, [] { Say("activated"); });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) app.quit();
    });
    Say("ready " + QByteArray::number(window.Handle()));
    return app.exec();
}
