#include "rules/KeyReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool StartsElement(const std::string& line) { return line.rfind('_', 0) == 0; }

// One lookup and what it gives, as text: a number, a colour, a string, or a list's items joined
// by "|".
struct RLookup {
    char kind;  // 'i' Int, 'c' Color, 's' Str, 'l' List
    std::string key;
    std::string expected;
};

struct RCase {
    const char* name;
    TKeyPolicy policy;
    TDynamicStringArray lines;
    std::vector<RLookup> lookups;
    int lineAfter;
    bool ok;
};

std::string Look(TKeyCursor& keys, const RLookup& lookup) {
    switch (lookup.kind) {
    case 'i': return std::to_string(keys.Int(lookup.key));
    case 'c': return std::to_string(keys.Color(lookup.key));
    case 'l': {
        std::string joined;
        for (const auto& item : keys.List(lookup.key)) joined += (joined.empty() ? "" : "|") + item;
        return joined;
    }
    default: return keys.Str(lookup.key);
    }
}

const RCase kCases[] = {
    {"same line: a missing key gives its default and the next is still found",
     TKeyPolicy::SameLine,
     {"_text vx=10 color=1,2,0 fn=a.bmp; vy=20"},
     {{'i', "vx", "10"}, {'i', "zz", "0"}, {'s', "fn", "a.bmp"}, {'c', "color", "513"}, {'i', "vy", "20"}},
     0,
     true},
    {"same line: the next line is never looked at",
     TKeyPolicy::SameLine,
     {"_text vx=1", "vy=2"},
     {{'i', "vy", "0"}, {'s', "fn", ""}, {'i', "vx", "1"}},
     0,
     true},
    {"same line: a list moves the line on to where it ended",
     TKeyPolicy::SameLine,
     {"_popup caption=[one", "two] hint=h;", "fn=x;"},
     {{'l', "caption", "one|two"}, {'s', "hint", "h"}, {'s', "fn", ""}},
     1,
     true},
    {"walking on: a key on a following line is found and the line moves there",
     TKeyPolicy::WalkOn,
     {"_button vx=1", "vy=2", "fn1=a.bmp;"},
     {{'i', "vx", "1"}, {'i', "vy", "2"}, {'s', "fn1", "a.bmp"}},
     2,
     true},
    {"walking on: a key on a line already passed is not found, and the walk ends",
     TKeyPolicy::WalkOn,
     {"_text vy=5", "vx=3", "size=8"},
     {{'i', "vx", "3"}, {'i', "vy", "0"}, {'i', "size", "0"}},
     1,
     false},
    {"walking on: the next element's line ends the walk, even for a later key on the first line",
     TKeyPolicy::WalkOn,
     {"_button vx=1 fn1=a;", "_button vy=2"},
     {{'i', "vy", "0"}, {'s', "fn1", ""}},
     0,
     false},
};

TEST(KeyCursor, BothPoliciesFindKeysWhereTheyShouldAndMoveTheLine) {
    for (const RCase& c : kCases) {
        SCOPED_TRACE(c.name);
        int line = 0;
        TKeyCursor keys(c.lines, line, c.policy, StartsElement);
        for (const RLookup& lookup : c.lookups) EXPECT_EQ(Look(keys, lookup), lookup.expected) << lookup.key;
        EXPECT_EQ(line, c.lineAfter);
        EXPECT_EQ(keys.Ok(), c.ok);
    }
}

TEST(KeyCursor, ALineOutsideTheFileHasNoKeys) {
    const TDynamicStringArray lines = {"vx=1"};
    for (int start : {-1, 1}) {
        int line = start;
        TKeyCursor keys(lines, line);
        EXPECT_EQ(keys.Int("vx"), 0);
        EXPECT_TRUE(keys.List("vx").empty());
        EXPECT_EQ(line, start);
    }
}

}  // namespace
