#pragma once
// Shared by the instance tests: the peer helper program and event-loop waits.
#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <string>

#include "support/PeerProcess.h"
#include "support/Wait.h"

// CP1251 bytes travel on the peer's command line and output as hex.
inline QString Hex(const std::string& bytes) { return QString::fromLatin1(QByteArray::fromStdString(bytes).toHex()); }
inline std::string Unhex(const QByteArray& hex) { return QByteArray::fromHex(hex).toStdString(); }

// The instance peer program with the given arguments.
class TPeer : public TPeerProcess {
public:
    explicit TPeer(const QStringList& args) : TPeerProcess(QStringLiteral(INSTANCE_PEER), args) {}
};
