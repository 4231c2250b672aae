#pragma once
// A helper program started by a test as another process of the book; it inherits the test's
// private folders. Lines it prints are read back with a time limit.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

class TPeerProcess {
public:
    TPeerProcess(const QString& program, const QStringList& args) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, args);
        process_.waitForStarted(10000);
    }
    ~TPeerProcess() {
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
