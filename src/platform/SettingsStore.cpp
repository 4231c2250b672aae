#include "platform/SettingsStore.h"

#include "platform/QtText.h"

#include <QStandardPaths>

TSettingsStore::TSettingsStore(const std::string& appTitle) : TRegistryStore(FilePath(appTitle), {}) {}

QString TSettingsStore::FilePath(const std::string& appTitle) {
    QString name = ToQt(appTitle);
    name.replace(u'/', u'_');  // a title must not leave the folder
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/No Name/") + name + QStringLiteral(".conf");
}
