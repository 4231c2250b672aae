// The message dialog shown modal: a message the reader must close first, and a question, a page
// with a "yes" and a "no" button, that waits for the answer.
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
    const std::optional<int> code = ShowModal(page, text);
    if (!code) return std::nullopt;
    return *code == 6;
}

std::optional<int> TCoolDialog::ShowModal(int page, const std::string& text) {
    if (asking_) return std::nullopt;
    if (isVisible()) Close(kClosedCode);
    if (isVisible()) return std::nullopt;  // a scan still ends
    setWindowModality(Qt::ApplicationModal);  // takes effect from the next show
    std::optional<int> code;
    if (ShowDialog(page, text)) {
        QEventLoop loop;
        asking_ = &loop;
        resultCode_ = kClosedCode;
        loop.exec();
        asking_ = nullptr;
        code = resultCode_;
    }
    setWindowModality(Qt::NonModal);
    return code;
}
