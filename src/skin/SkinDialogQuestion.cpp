// The message dialog putting a question: a page with a "yes" and a "no" button, shown modal until
// the reader answers.
#include <QEventLoop>

#include "skin/SkinDialog.h"

std::optional<int> TCoolDialog::QuestionPage() const {
    for (size_t page = 0; page < description_.pages.size(); ++page) {
        bool yes = false, no = false;
        for (const RBtn& button : description_.pages[page].buttons) {
            yes = yes || button.command == "yes";
            no = no || button.command == "no";
        }
        if (yes && no && !description_.pages[page].picture.empty()) return int(page);
    }
    return std::nullopt;
}

std::optional<bool> TCoolDialog::Ask(int page, const std::string& text) {
    if (isVisible() || asking_) return std::nullopt;
    setWindowModality(Qt::ApplicationModal);
    const bool shown = ShowDialog(page, text);
    std::optional<bool> answer;
    if (shown) {
        QEventLoop loop;
        asking_ = &loop;
        resultCode_ = kClosedCode;
        loop.exec();
        asking_ = nullptr;
        answer = resultCode_ == 6;
    }
    setWindowModality(Qt::NonModal);
    return answer;
}
