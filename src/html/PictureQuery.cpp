#include "html/PictureQuery.h"

#include <QEventLoop>
#include <QTimer>

#include "platform/BookWindows.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"

const char* const TPictureQuery::kPictureCaption = BookWindows::kEnlargedPicture;

TPictureQuery::TPictureQuery(TChannelWindow& self) : self_(self) {
    connection_ = QObject::connect(&self, &TChannelWindow::MessageReceived, &self,
                                   [this](quint32 message, quint64 wParam, quint64) {
                                       if (message != kAnswerMessage) return;
                                       answered_ = true;
                                       answerYes_ = wParam == 1;
                                       if (waiting_) waiting_->quit();
                                   });
}

TPictureQuery::~TPictureQuery() { QObject::disconnect(connection_); }

bool TPictureQuery::Ask(THandle window, const std::string& picturePath) {
    RInstanceData query;
    query.kind = RInstanceData::kQueryShownFile;
    query.count = 1;
    query.codes[0] = 0;
    query.strings[0] = picturePath.substr(0, RInstanceData::kMaxStringLength);
    answered_ = answerYes_ = false;
    if (!TInstanceChannel::Instance().SendCopyData(window, self_.Handle(), query)) return false;
    if (!answered_) {
        QEventLoop loop;
        QTimer::singleShot(kWaitSteps * kWaitStepMs, &loop, &QEventLoop::quit);
        waiting_ = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        waiting_ = nullptr;
    }
    return answered_ && answerYes_;
}

bool TPictureQuery::Query(const std::string& picturePath) {
    auto& channel = TInstanceChannel::Instance();
    for (const THandle window : channel.FindVisibleWindows(kPictureCaption)) {
        if (window == self_.Handle() || !Ask(window, picturePath)) continue;
        channel.PostActivate(window);
        return true;
    }
    return false;
}
