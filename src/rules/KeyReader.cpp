#include "rules/KeyReader.h"

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "packs/StringUtils.h"
#include "rules/KeyFields.h"

bool TKeyCursor::Find(std::string_view key) {
    if (!ok_ || line_ < 0 || size_t(line_) >= lines_.size()) return false;
    const int last = policy_ == TKeyPolicy::SameLine ? line_ + 1 : int(lines_.size());
    for (int i = line_; i < last; ++i) {
        // Walking on, a key may continue onto the lines after the element's, but never into
        // another element.
        if (i > line_ && elementStart_ && elementStart_(lines_[size_t(i)])) break;
        if (const int p = Pos(key, lines_[size_t(i)])) {
            line_ = i;
            at_ = p;
            return true;
        }
    }
    if (policy_ == TKeyPolicy::WalkOn) ok_ = false;
    return false;
}

int32_t TKeyCursor::Int(std::string_view key) { return Find(key) ? ParseIntAt(Current(), at_) : 0; }

std::string TKeyCursor::Str(std::string_view key) { return Find(key) ? ParseStringAt(Current(), ValuePos(key)) : std::string(); }

uint32_t TKeyCursor::Color(std::string_view key) { return Find(key) ? ParseColorAt(Current(), ValuePos(key)) : 0; }

TDynamicStringArray TKeyCursor::List(std::string_view key) {
    return Find(key) ? ParseListAt(lines_, line_) : TDynamicStringArray();
}

std::string AsPath(std::string_view text) { return SubstitutePath(std::string(text)); }

std::string AsLowerPath(std::string_view text) { return Cp1251::asciiLower(AsPath(text)); }

std::string AsFolder(std::string_view text) { return WinPath::WithBackslash(AsPath(text)); }
