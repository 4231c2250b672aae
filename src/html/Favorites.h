#pragma once
// Favourite places and the history and favourite item commands of the popups.
//
// THtmlFavorite keeps at most ten favourites, oldest first, each a page title and the popup
// command "htmlpos=" + page + "=" + scroll position. They live in the settings key as the string
// values Favorite0 … Favorite9, value i holding "{" + caption + "}" + target. The list is read
// once (Load) and written at the end (Save, also run by the destructor). Save writes only a list
// that was read and then changed, so a list never read cannot wipe the stored one and a copy left
// as it was cannot write over favourites another process stored meanwhile. The program keeps one
// list, the main window's.
#include <string>
#include <vector>

struct RFavoriteCaption {
    std::string caption;  // the page title when it was added
    std::string target;   // "htmlpos=" + page + "=" + vertical scroll position
};

// The favourites popup, as far as the list changes it.
class IFavoritePopup {
public:
    virtual ~IFavoritePopup() = default;
    virtual void AddItem(const std::string& caption, const std::string& command) = 0;
    virtual void SetItem(int index, const std::string& caption, const std::string& command) = 0;
};

class THtmlFavorite {
public:
    static constexpr int kMaxFavorites = 10;

    // appTitle names the settings key (CP1251); the program passes AppTitle().
    explicit THtmlFavorite(std::string appTitle);
    ~THtmlFavorite();
    THtmlFavorite(const THtmlFavorite&) = delete;
    THtmlFavorite& operator=(const THtmlFavorite&) = delete;

    // Reads Favorite0 … Favorite9, skipping empty and unreadable values, and adds every entry to
    // the popup when one is given.
    void Load(IFavoritePopup* popup);
    // Adds the place shown now: title of the current history entry, current file and scroll
    // position. A title already listed (case-insensitive) is refused. A full list drops its
    // oldest entry and rewrites the popup items; otherwise one item is added. False when refused.
    bool Add(const std::string& title, const std::string& file, int scrollPosition, IFavoritePopup* popup);
    // Removes entry index; an index outside the list changes nothing. The popup removes its own item.
    void Delete(int index);
    // Writes the entries as Favorite0 … and deletes the values after the last one; failed writes
    // are skipped. Nothing before Load, and nothing when the list did not change since.
    void Save();

    const std::vector<RFavoriteCaption>& Items() const { return items_; }

    // The stored form of a favourite and back. Without "{" the caption is what precedes "}",
    // without "}" the caption is empty and the whole value is the target.
    static std::string Encode(const RFavoriteCaption& favorite);
    static RFavoriteCaption Decode(const std::string& value);

private:
    std::string appTitle_;
    std::vector<RFavoriteCaption> items_;
    bool loaded_ = false;
    bool changed_ = false;
};

// What the history and favourite item commands act on: the current page view and the trees.
class IHistoryHost {
public:
    virtual ~IHistoryHost() = default;
    // index 0 is the most recent entry, larger indexes are older.
    virtual void GoToHistoryIndex(int index) = 0;
    virtual void OpenInCurrentView(const std::string& file) = 0;
    virtual void SetScrollPosition(int pixels) = 0;
    // An empty file: the page the current view shows.
    virtual void SyncTreeToPage(const std::string& file) = 0;
};

// Runs a popup item command "history=N", "htmlpos=FILE=POS" or "html=FILE"; false (nothing done)
// for any other command, which then goes to the command dispatcher.
bool RunHistoryCommand(IHistoryHost& host, const std::string& command);
