#include "app/session/desktop_open.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <memory>

namespace app::session {

QString DesktopFailureMessage(const QString& file, const QString& why) {
    const QFileInfo info(file);
    return QObject::tr(
               "The desktop could not open %1 (in the folder %2): %3. Open it with a program of "
               "your choice, or set up a program for such files on the desktop.")
        .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()), why);
}

void OpenWithDesktop(const QString& file, QObject* context,
                     std::function<void(const QString& message)> failed, const QString& opener) {
    auto* process = new QProcess(context);
    // One report per process: an error that ends the process may come with its finished signal.
    auto report = std::make_shared<std::function<void(const QString&)>>(std::move(failed));
    QPointer<QObject> alive(context);
    QObject::connect(process, &QProcess::errorOccurred, process, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        if (alive && *report)
            (*report)(DesktopFailureMessage(file, QObject::tr("%1 cannot be started").arg(opener)));
        *report = nullptr;
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process, [=](int code, QProcess::ExitStatus status) {
        if ((code != 0 || status != QProcess::NormalExit) && alive && *report)
            (*report)(DesktopFailureMessage(
                file, QObject::tr("no program is set up for this kind of file (%1 ended with status %2)")
                          .arg(opener)
                          .arg(code)));
        *report = nullptr;
        process->deleteLater();
    });
    process->setProgram(opener);
    process->setArguments({file});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
}

}  // namespace app::session
