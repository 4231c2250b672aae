#pragma once
// A record's keys as a table: each field names its key, the member it fills and how its text is
// adjusted (lower-cased, paths substituted). The member's type says how the value is read: an
// int32_t as a number, a uint32_t as a colour, a string as text, a bool as text that is "on",
// a string list as a list. Fields are read in table order, which matters to a walking cursor and
// after a list key.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "base/DynamicStringArray.h"
#include "rules/KeyReader.h"

using TTextAdjust = std::string (*)(std::string_view text);

template <class Rec> struct TKeyField {
    std::string_view key;
    std::variant<int32_t Rec::*, uint32_t Rec::*, std::string Rec::*, bool Rec::*, TDynamicStringArray Rec::*> member;
    TTextAdjust adjust = nullptr;  // text and "on" only; none: as written
};

// The adjustments the descriptions use besides Cp1251's lower-casing.
std::string AsPath(std::string_view text);       // through SubstitutePath
std::string AsLowerPath(std::string_view text);  // through SubstitutePath, then ASCII lower-cased
std::string AsFolder(std::string_view text);     // through SubstitutePath, ending in "\"

template <class Rec, std::size_t N> void ReadFields(TKeyCursor& keys, Rec& rec, const TKeyField<Rec> (&fields)[N]) {
    for (const TKeyField<Rec>& field : fields) {
        const auto text = [&] {
            std::string value = keys.Str(field.key);
            return field.adjust ? field.adjust(value) : value;
        };
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(rec.*member)>;
                if constexpr (std::is_same_v<T, int32_t>) rec.*member = keys.Int(field.key);
                else if constexpr (std::is_same_v<T, uint32_t>) rec.*member = keys.Color(field.key);
                else if constexpr (std::is_same_v<T, bool>) rec.*member = text() == "on";
                else if constexpr (std::is_same_v<T, std::string>) rec.*member = text();
                else rec.*member = keys.List(field.key);
            },
            field.member);
    }
}

// The position fields vx, vy, vw and vh of a record with a rectangle.
template <class Rec>
inline const TKeyField<Rec> kRectFields[] = {{"vx", &Rec::left}, {"vy", &Rec::top}, {"vw", &Rec::right}, {"vh", &Rec::bottom}};
