#include "settings/Options.h"

#include <algorithm>

#include "base/GlobalPaths.h"
#include "platform/SettingsStore.h"

bool ReadFlag(TSettingsStore& store, const char* name, bool byDefault) {
    bool value = byDefault;
    if (store.ReadBool(name, value)) return value;
    store.WriteBool(name, byDefault);
    return byDefault;
}

void ToggleFlag(TSettingsStore& store, const char* name, bool& flag) {
    flag = !flag;
    store.WriteBool(name, flag);
}

namespace {

int ReadNumber(TSettingsStore& store, const char* name, int byDefault) {
    int32_t value = 0;
    if (store.ReadInteger(name, value)) return value;
    store.WriteInteger(name, byDefault);
    return byDefault;
}

void ReadPlayer(TSettingsStore& store, ROptions& o) {
    o.autoStartPlayer = ReadFlag(store, "AutoStartPlayer", true);
    o.playingCyclic = ReadFlag(store, "PlayingCyclic", true);
    for (size_t i = 0; i < o.playLists.size(); ++i) {
        const std::string name = "NamePlayList" + std::to_string(i + 1);
        std::string value;
        if (store.ReadString(name, value) && !value.empty()) o.playLists[i] = value;
        else store.WriteString(name, o.playLists[i]);
    }
}

}  // namespace

ROptions LoadOptions(bool withPlayer, bool withPictures) {
    TSettingsStore store(AppTitle());
    ROptions o;
    o.clip = ReadFlag(store, "Clip", true);
    o.wav = ReadFlag(store, "Wav", true);
    o.bgSound = ReadFlag(store, "BGSound", true);
    o.animation = ReadFlag(store, "Animation", true);
    o.hint = ReadFlag(store, "Hint", true);
    int32_t scale = 0;  // written only when the reader chooses one
    if (store.ReadInteger("WindowScale", scale) && (scale == 100 || scale == 150 || scale == 200)) o.windowScale = scale;
    if (withPlayer) ReadPlayer(store, o);
    if (withPictures) {
        o.runSlideShow = ReadFlag(store, "RunSlideShow", false);
        // No time would make a busy timer, and the track bar reaches ten seconds.
        o.slideShowTime = std::clamp(ReadNumber(store, "SlideShowTime", 5), 1, 10);
        o.imageSequence = ReadNumber(store, "ImageSequence", 0);
    }
    return o;
}
