#include "platform/Launch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <optional>
#include <utility>

#include "platform/Diagnostics.h"

namespace {

ILaunchGate* gate = nullptr;

bool IsWindowsProgram(const QString& program) {
    for (const char* ext : {".exe", ".com", ".bat"})
        if (program.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) return true;
    return false;
}

// A program of this system under any name: a script or an ELF binary, which a disc may ship in
// place of a Windows program of the same name.
bool IsNativeProgram(const QString& program) {
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(4);
    return head.startsWith("#!") || head == "\x7f" "ELF";
}

// A local file the desktop's handler would run rather than show: a desktop entry, a program of
// this system, a Windows program.
bool RunsWhenOpened(const QString& fileOrUrl) {
    const QUrl url(fileOrUrl);
    const QString file = url.isLocalFile() ? url.toLocalFile() : fileOrUrl;
    const QFileInfo info(file);
    if (!info.isFile()) return false;
    return file.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive) || IsWindowsProgram(file) ||
           IsNativeProgram(file);
}

bool MayRun(const QString& program) {
    const bool allowed = gate && gate->MayRun(program);
    if (!allowed) qCInfo(lcPlatform).noquote() << "not started, the reader did not allow it:" << program;
    return allowed;
}

bool MayOpen(const QString& fileOrUrl) {
    if (RunsWhenOpened(fileOrUrl)) return MayRun(fileOrUrl);
    const bool allowed = gate && gate->MayOpen(fileOrUrl);
    if (!allowed) qCInfo(lcPlatform).noquote() << "not opened, no reader asked for it:" << fileOrUrl;
    return allowed;
}

struct RCommand {
    QString executable;
    QStringList args;
};

// What actually runs for a program: the file itself when it is a native executable, else Wine for
// a Windows program, else the file itself when it is executable. Nothing when none applies.
std::optional<RCommand> ResolveProgram(const QString& program, const QStringList& args) {
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable() && IsNativeProgram(program))
        return RCommand{info.absoluteFilePath(), args};
    if (IsWindowsProgram(program)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) return std::nullopt;
        return RCommand{wine, QStringList{program} + args};
    }
    if (info.isFile() && info.isExecutable()) return RCommand{info.absoluteFilePath(), args};
    return std::nullopt;
}

void Prepare(QProcess& process, const RCommand& command, const QString& workingDir) {
    process.setProgram(command.executable);
    process.setArguments(command.args);
    if (!workingDir.isEmpty()) process.setWorkingDirectory(workingDir);
}

bool StartDetached(const RCommand& command, const QString& workingDir) {
    QProcess process;
    Prepare(process, command, workingDir);
    return process.startDetached();
}

} // namespace

ILaunchGate* SetLaunchGate(ILaunchGate* next) { return std::exchange(gate, next); }

QStringList SplitParameters(const QString& parameters) { return QProcess::splitCommand(parameters); }

bool ShellOpen(const QString& fileOrUrl, const QString& workingDir) {
    if (fileOrUrl.isEmpty() || !MayOpen(fileOrUrl)) return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) qCInfo(lcPlatform).noquote() << "not opened, xdg-open is not installed:" << fileOrUrl;
    if (opener.isEmpty()) return false;
    return StartDetached({opener, {fileOrUrl}}, workingDir);
}

bool LaunchProgram(const QString& program, const QStringList& args, const QString& workingDir) {
    if (const auto command = ResolveProgram(program, args)) return MayRun(program) && StartDetached(*command, workingDir);
    if (IsWindowsProgram(program)) {
        qCInfo(lcPlatform).noquote() << "not started, wine is not installed:" << program;
        return false;
    }
    return ShellOpen(program, workingDir);
}

bool StartNewInstance(const QStringList& args) {
    if (!QCoreApplication::instance()) return false;
    return StartDetached({QCoreApplication::applicationFilePath(), args}, {});
}

int RunAndWait(const QString& program, const QStringList& args, const QString& workingDir,
               int timeoutMs) {
    const auto command = ResolveProgram(program, args);
    if (!command || !MayRun(program)) return -1;
    QProcess process;
    Prepare(process, *command, workingDir);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted()) return -1;
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs < 0 ? -1 : timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int RunAndWaitWithEvents(const QString& program, const QStringList& args, const QString& workingDir) {
    const auto command = ResolveProgram(program, args);
    if (!command || !MayRun(program)) return -1;
    QProcess process;
    Prepare(process, *command, workingDir);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted()) return -1;
    process.closeWriteChannel();
    if (process.state() != QProcess::NotRunning) loop.exec();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
