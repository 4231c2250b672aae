#pragma once
// TPictureQuery: asks the running enlarged-picture windows, topmost first, whether one of them
// already shows a picture, and brings the first that does to the front. Each window gets the
// query record (kind 3, one string: the picture path) and has 500 ms to answer with message
// 0x04C9 to the asking window: 1 for "this very picture", anything else for another one.
// While it waits the event loop runs, without user input. Window thread only.
#include <QMetaObject>

#include <cstdint>
#include <string>

#include "platform/WindowEntry.h"

class QEventLoop;
class TChannelWindow;

class TPictureQuery {
public:
    static constexpr uint32_t kAnswerMessage = 0x04C9;  // BookWindows::kMsgAnswer
    static constexpr int kWaitSteps = 10;
    static constexpr int kWaitStepMs = 50;
    static const char* const kPictureCaption;  // "Увеличенная картинка", CP1251

    // self: the asking window, where the answers arrive.
    explicit TPictureQuery(TChannelWindow& self);
    ~TPictureQuery();
    TPictureQuery(const TPictureQuery&) = delete;
    TPictureQuery& operator=(const TPictureQuery&) = delete;

    // True when a window showing picturePath answered and was asked to come to the front.
    bool Query(const std::string& picturePath);

private:
    bool Ask(THandle window, const std::string& picturePath);

    TChannelWindow& self_;
    QMetaObject::Connection connection_;
    QEventLoop* waiting_ = nullptr;
    bool answered_ = false;
    bool answerYes_ = false;
};
