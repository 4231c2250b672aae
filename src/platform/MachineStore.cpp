#include "platform/MachineStore.h"

#include <QStandardPaths>

TMachineStore::TMachineStore(const std::string& keyPath) : TRegistryStore(FilePath(), keyPath) {}

QString TMachineStore::FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/No Name/machine.conf");
}
