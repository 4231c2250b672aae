#pragma once
// Records read from the interface description. Coordinates are client coordinates of the
// window: left, top, right, bottom.
#include <cstdint>
#include <string>

struct RBtn {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // from picture 1's size at construction
    int32_t bottom = 0;
    std::string runText;  // set at run time
    std::string picture1;
    std::string picture2;
    std::string picture3;
    std::string command;
    int32_t runValue1 = 0;
    std::string hint;
    int32_t runValue2 = 0;
    std::string sound;
};
