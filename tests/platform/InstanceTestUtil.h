#pragma once
// Shared by the instance tests: the peer helper program and event-loop waits.
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>

#include <string>

// Spins the event loop until done() holds or the (generous) time is up.
template <typename Pred>
bool WaitUntil(Pred done, int ms = 10000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// CP1251 bytes travel on the peer's command line and output as hex.
inline QString Hex(const std::string& bytes) { return QString::fromLatin1(QByteArray::fromStdString(bytes).toHex()); }
inline std::string Unhex(const QByteArray& hex) { return QByteArray::fromHex(hex).toStdString(); }

// The helper program with the given arguments; it inherits the test's private runtime folder.
class TPeer {
public:
    explicit TPeer(const QStringList& args) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(INSTANCE_PEER), args);
        process_.waitForStarted(10000);
    }
    ~TPeer() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000)) process_.kill();
        process_.waitForFinished(10000);
    }
    // The next line the peer prints, without its newline; empty on time-out.
    QByteArray ReadLine(int ms = 10000) {
        const QDeadlineTimer deadline(ms);
        while (!process_.canReadLine())
            if (deadline.hasExpired() || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return {};
        return process_.readLine().trimmed();
    }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
};
