#include "skin/PathInputBox.h"

#include <QEvent>
#include <QLineEdit>

#include "platform/QtText.h"
#include "platform/SettingsStore.h"

namespace {

std::string valueName(size_t index) { return "PathInstall" + std::to_string(index); }

// An edit that tells its window the pointer moved over it, so skin elements lose their hover.
class TPathEdit : public QLineEdit {
public:
    TPathEdit(QWidget* parent, std::function<void()> over) : QLineEdit(parent), over_(std::move(over)) {
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        if (over_) over_();
        QLineEdit::mouseMoveEvent(event);
    }

private:
    std::function<void()> over_;
};

}  // namespace

TPathInputBox::TPathInputBox(const std::vector<RPathInput>& inputs, RPathHost host) : host_(std::move(host)) {
    const TSettingsStore store(host_.appTitle);
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string text;
        if (!store.ReadString(valueName(i), text) || text.empty()) text = inputs[i].pathDef;
        edits_.push_back({MakeEdit(inputs[i], text), inputs[i].screen});
    }
}

TPathInputBox::~TPathInputBox() {
    Save();
    for (const Input& input : edits_) delete input.edit;
}

QLineEdit* TPathInputBox::MakeEdit(const RPathInput& input, const std::string& text) const {
    auto* edit = new TPathEdit(host_.window, host_.pointerOver);
    edit->setFrame(false);
    edit->hide();
    edit->setToolTip(ToQt(input.hint));
    // The font fills the field but one pixel; a field too low for any text keeps the default.
    const int pixels = input.bottom - input.top - 1;
    if (pixels > 0) {
        QFont font = edit->font();
        font.setPixelSize(pixels);
        edit->setFont(font);
    }
    edit->setGeometry(input.left, input.top, input.right - input.left, input.bottom - input.top);
    edit->setText(ToQt(host_.toHost ? host_.toHost(text) : text));
    edit->setCursorPosition(0);  // a long path shows from its start, as the drive letter matters most
    return edit;
}

void TPathInputBox::ShowPaths(int screen) {
    for (const Input& input : edits_) {
        if (!input.edit) continue;
        if (input.screen == screen) input.edit->show();
        else if (input.screen == lastShown_ && lastShown_ != screen) input.edit->hide();
    }
    current_ = lastShown_ = screen;
}

void TPathInputBox::HidePaths(bool hidden) {
    for (const Input& input : edits_)
        if (input.edit && input.screen == current_) input.edit->setVisible(!hidden);
}

std::string TPathInputBox::WindowsText(int i) const {
    const QLineEdit* edit = edits_[size_t(i)].edit;
    const std::string typed = edit ? FromQt(edit->text().trimmed()) : std::string();
    if (typed.empty() || !host_.toWindows || typed[0] != '/') return typed;
    return host_.toWindows(typed);
}

std::string TPathInputBox::CurrentPath() const {
    for (size_t i = 0; i < edits_.size(); ++i) {
        if (edits_[i].screen != current_) continue;
        std::string path = WindowsText(int(i));
        if (!path.empty() && path.back() != '\\') path += '\\';
        return path;
    }
    return {};
}

void TPathInputBox::Save() const {
    TSettingsStore store(host_.appTitle);
    for (size_t i = 0; i < edits_.size(); ++i)
        if (edits_[i].edit) store.WriteString(valueName(i), WindowsText(int(i)));
}
