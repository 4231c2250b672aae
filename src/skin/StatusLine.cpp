#include "skin/StatusLine.h"

#include "skin/TextMsg.h"

TStatusLine::TStatusLine(TTextMsg* texts) : texts_(texts) {
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void TStatusLine::ShowStatus(const std::string& text) {
    if (!texts_) return;
    message_ = text;
    counter_ = 1;
    texts_->SetText(text, kAllStatusTexts, true);
    timer_.start();
}

void TStatusLine::ClearStatus() {
    if (!texts_) return;
    timer_.stop();
    message_.clear();
    counter_ = 1;
    texts_->SetText("", kAllStatusTexts, true);
}

void TStatusLine::Tick() {
    if (counter_ >= kLastCount) {
        timer_.stop();
        return;
    }
    if (texts_) texts_->SetText(counter_ % 2 == 1 ? std::string() : message_, kAllStatusTexts, true);
    ++counter_;
}
