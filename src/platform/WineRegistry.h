#pragma once
// Reads the string values of one key from a Wine registry file (system.reg, user.reg): sections
// "[Key\\Path] stamp" followed by lines "name"="text", "name"=str(2):"text" or @="text".
// Key paths and value names compare case-insensitively; quoted texts undo the \\ \" \n \xNNNN
// and octal escapes Wine writes. The file may be UTF-8 (with or without a byte-order mark) or
// UTF-16 with a mark. Damaged or foreign files never fail loudly: the key is just not found.
#include <QHash>
#include <QString>

// values maps each string value's case-folded name (the default value: "@") to its text. Returns
// false, leaving values empty, when the file or the key is not there.
bool ReadWineRegistryKey(const QString& regFile, const QString& keyPath,
                         QHash<QString, QString>& values);
