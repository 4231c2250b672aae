#pragma once
// Key lookup in the lines of a description file. A key is found by plain substring search (its
// first occurrence in a line); integers are read from the key's position, strings and colours
// from one past the key's end (where "key=" puts its value), lists from the first "[" of the
// key's line. A key that is not found gives the default: 0, empty, black, empty list.
//
// Where a key is looked for is the cursor's policy:
// - SameLine: on the current line only; a missing key does not stop the next. A list key moves
//   the current line on to the line where the list ended.
// - WalkOn: on the current line or, when it is not there, on the lines that follow, up to the
//   next line that starts an element; the current line moves to the key's line. A key that is
//   never found ends the walk: it and every later key give the default, and Ok() is false.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/DynamicStringArray.h"

enum class TKeyPolicy { SameLine, WalkOn };

class TKeyCursor {
public:
    using TElementStart = bool (*)(const std::string& line);

    // line is the current line, which the cursor moves on; elementStart only for WalkOn.
    TKeyCursor(const TDynamicStringArray& lines, int& line, TKeyPolicy policy = TKeyPolicy::SameLine,
               TElementStart elementStart = nullptr)
        : lines_(lines), line_(line), policy_(policy), elementStart_(elementStart) {}

    int32_t Int(std::string_view key);
    std::string Str(std::string_view key);
    uint32_t Color(std::string_view key);
    TDynamicStringArray List(std::string_view key);
    bool Has(std::string_view key) { return Find(key); }  // found where a lookup would find it
    bool Ok() const { return ok_; }

private:
    bool Find(std::string_view key);
    const std::string& Current() const { return lines_[size_t(line_)]; }
    int ValuePos(std::string_view key) const { return at_ + static_cast<int>(key.size()) + 1; }

    const TDynamicStringArray& lines_;
    int& line_;
    TKeyPolicy policy_;
    TElementStart elementStart_;
    int at_ = 0;
    bool ok_ = true;
};
