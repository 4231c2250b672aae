#pragma once
// Records read from the interface description, fields in their documented order. Coordinates
// are client coordinates of the window: left, top, right, bottom ("vx", "vy", "vw", "vh"; edges,
// not sizes). Screen indexes count from 0. Colours are red + 256*green + 65536*blue.
#include <cstdint>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"

struct RBtn {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // from picture 1's size at construction
    int32_t bottom = 0;
    std::string runText;  // set at run time
    std::string picture1;
    std::string picture2;
    std::string picture3;
    std::string command;  // "go", as written
    int32_t runValue1 = 0;
    std::string hint;
    int32_t runValue2 = 0;
    std::string sound;    // "wav"; "no" or empty: none
};

// A two-state toggle.
struct RSwthOne {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // from picture 1's size at construction
    int32_t bottom = 0;
    std::string picture1;  // off
    std::string picture2;  // off, pointer over
    std::string picture3;  // on, pointer over
    std::string picture4;  // on
    bool store = false;    // the state is kept between runs
    std::string upCommand;    // "goup": sent when switched off
    std::string downCommand;  // "godown": sent when switched on
    std::string hint;
    int32_t runValue = 0;
    std::string sound;
    bool hover = false;    // run time: the pointer is over it
    bool state = false;    // on
};

// A one-of-many selector: switching one on switches off the others of its group.
struct RSwthGrp {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string picture1;
    std::string picture2;
    std::string picture3;
    std::string picture4;
    bool store = false;
    int32_t group = 0;
    std::string command;  // "go": sent when switched on
    std::string hint;
    int32_t runValue = 0;
    std::string sound;
    bool hover = false;
    bool state = false;
};

// A page view area.
struct RHTML {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string document;  // "fn": the first page shown
    int32_t number = 0;
    int32_t screen = 0;
};

// A find box.
struct RFindTxt {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string frame;            // the frame of the page to search in
    TDynamicStringArray noFiles;  // pages left out of the page scan
    int32_t number = 0;
    int32_t screen = 0;
    std::string hint;
};

struct RPathInput {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string pathDef;  // default text
    int32_t screen = 0;
    std::string hint;
};

// The area a clip plays in.
struct RClip {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    uint32_t bgColor = 0;
    int32_t html = 0;  // number of the page view it belongs to
    int32_t screen = 0;
};

// A text label.
struct RText {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;  // set by the label's owner
    std::string font;
    int32_t size = 0;
    std::string style;   // may hold "italic", "bold", "underline", "strikeout"
    uint32_t color = 0;
    std::string value;   // the text
    int32_t number = 0;
    int32_t screen = 0;
    std::string ident;
};

// A picture area of the slide show.
struct RImage {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string dir;  // folder of the pictures, ending in "\"
    int32_t screen = 0;
};

// Popup types that other parts fill at run time; any other type is a menu number.
constexpr int32_t kPopupHistoryBack = -1;
constexpr int32_t kPopupHistoryForward = -2;
constexpr int32_t kPopupFavorite = -3;
constexpr int32_t kPopupContextHtml = -5;

// A popup menu.
struct RPopupData {
    int32_t backgroundX = 0;  // "xfon", "yfon": -1 leaves that axis at the requested point
    int32_t backgroundY = 0;
    std::string backgroundPicture;  // "fnfon"
    int32_t itemLeft = 0;    // "xbtn"
    int32_t itemMargin = 0;  // "ybtn"
    TDynamicStringArray itemPicturesUp;    // "fnbtnup"
    TDynamicStringArray itemPicturesMove;  // "fnbtnmove"
    TDynamicStringArray itemPicturesDown;  // "fnbtndown"
    std::string fontUp;
    std::string fontMove;
    int32_t sizeUp = 0;
    int32_t sizeMove = 0;
    std::string styleUp;
    std::string styleMove;
    uint32_t colorUp = 0;
    uint32_t colorMove = 0;
    TDynamicStringArray captions;
    TDynamicStringArray commands;  // "go", one per caption
    std::string parent;
    int32_t type = 0;
    TDynamicStringArray vertex;  // outline points "x,y"
};

using TDynamicBtnArray = std::vector<RBtn>;
using TDynamicSwthOneArray = std::vector<RSwthOne>;
using TDynamicSwthGrpArray = std::vector<RSwthGrp>;
