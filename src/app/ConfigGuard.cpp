#include "app/ConfigGuard.h"

#include <utility>

#include "packs/FileAccess.h"

bool ConfigGuard(const std::string& programDir, const TWarningSink& warn) {
    // File name, warning (CP1251): "Файл ... не удален" and "А зачем тут кодер лежит?".
    static const std::pair<const char*, const char*> kGuarded[] = {
        {"Struct.txt", "\xD4\xE0\xE9\xEB Struct.txt \xED\xE5 \xF3\xE4\xE0\xEB\xE5\xED"},
        {"About.txt", "\xD4\xE0\xE9\xEB About.txt \xED\xE5 \xF3\xE4\xE0\xEB\xE5\xED"},
        {"Dialog.txt", "\xD4\xE0\xE9\xEB Dialog.txt \xED\xE5 \xF3\xE4\xE0\xEB\xE5\xED"},
        {"Coder.exe", "\xC0 \xE7\xE0\xF7\xE5\xEC \xF2\xF3\xF2 \xEA\xEE\xE4\xE5\xF0 \xEB\xE5\xE6\xE8\xF2?"},
    };
    bool any = false;
    for (const auto& [file, text] : kGuarded) any = any || FileAccess().FindFile(programDir + file).has_value();
    if (!any) return false;
    for (const auto& [file, text] : kGuarded)
        if (FileAccess().FindFile(programDir + file)) warn(text);
    return true;
}
