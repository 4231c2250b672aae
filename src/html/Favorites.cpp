#include "html/Favorites.h"

#include "base/Cp1251.h"
#include "packs/StringUtils.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace {

std::string ValueName(int i) { return "Favorite" + std::to_string(i); }

} // namespace

THtmlFavorite::THtmlFavorite(std::string appTitle) : appTitle_(std::move(appTitle)) {}

THtmlFavorite::~THtmlFavorite() { Save(); }

std::string THtmlFavorite::Encode(const RFavoriteCaption& favorite) {
    return "{" + favorite.caption + "}" + favorite.target;
}

RFavoriteCaption THtmlFavorite::Decode(const std::string& value) {
    // 1-based positions, 0 when absent, so a value without braces splits as the stored form
    // always did. A title holding "}" is split where the target begins, so it survives.
    const int open = Pos("{", value);
    int close = Pos("}htmlpos=", value);
    if (close == 0) close = Pos("}", value);
    RFavoriteCaption favorite;
    const int captionLength = close - open - 1;
    if (captionLength > 0) favorite.caption = value.substr(static_cast<size_t>(open), static_cast<size_t>(captionLength));
    favorite.target = value.substr(static_cast<size_t>(close));
    return favorite;
}

void THtmlFavorite::Load(IFavoritePopup* popup) {
    items_.clear();
    const TSettingsStore store(appTitle_);
    for (int i = 0; i < kMaxFavorites; ++i) {
        std::string value;
        if (!store.ReadString(ValueName(i), value) || value.empty()) continue;
        items_.push_back(Decode(value));
    }
    loaded_ = true;
    changed_ = false;
    if (popup)
        for (const auto& favorite : items_) popup->AddItem(favorite.caption, favorite.target);
}

bool THtmlFavorite::Add(const std::string& title, const std::string& file, int scrollPosition, IFavoritePopup* popup) {
    const bool known = std::any_of(items_.begin(), items_.end(),
                                   [&](const RFavoriteCaption& f) { return Cp1251::equalsNoCase(f.caption, title); });
    if (known) return false;
    const RFavoriteCaption added{title, "htmlpos=" + file + "=" + std::to_string(scrollPosition)};
    if (static_cast<int>(items_.size()) >= kMaxFavorites) {
        items_.erase(items_.begin());
        items_.push_back(added);
        if (popup)
            for (int i = 0; i < kMaxFavorites; ++i) popup->SetItem(i, items_[i].caption, items_[i].target);
    } else {
        items_.push_back(added);
        if (popup) popup->AddItem(added.caption, added.target);
    }
    changed_ = true;
    return true;
}

void THtmlFavorite::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_.erase(items_.begin() + index);
    changed_ = true;
}

void THtmlFavorite::Save() {
    // A list never read, or read and left as it was, must not write over what another
    // process of the book stored meanwhile.
    if (!loaded_ || !changed_) return;
    changed_ = false;
    TSettingsStore store(appTitle_);
    const int count = static_cast<int>(items_.size());
    for (int i = 0; i < count; ++i) store.WriteString(ValueName(i), Encode(items_[i]));
    for (int i = count; i < kMaxFavorites; ++i) store.DeleteValue(ValueName(i));
}

bool RunHistoryCommand(IHistoryHost& host, const std::string& command) {
    const size_t equals = command.find('=');
    if (equals == std::string::npos) return false;
    const std::string name = Cp1251::asciiLower(std::string_view(command).substr(0, equals));
    if (name == "history") {
        // A malformed number selects nothing; the item still counts as handled.
        const int index = ParseIntAt(command, static_cast<int>(equals) + 2);
        if (index < 0) return true;
        host.GoToHistoryIndex(index);
    } else if (name == "htmlpos") {
        host.OpenInCurrentView(ValueAfterFirstEquals(command));
        const size_t last = command.rfind('=');
        if (last != equals) {
            const int position = ParseIntAt(command, static_cast<int>(last) + 2);
            if (position >= 0) host.SetScrollPosition(position);
        }
    } else if (name == "html") {
        host.OpenInCurrentView(ValueAfterFirstEquals(command));
    } else {
        return false;
    }
    host.SyncTreeToPage({});
    return true;
}
