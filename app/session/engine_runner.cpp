#include "app/session/engine_runner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <utility>

#include "app/model/run_files.h"
#include "app/session/engine_library.h"

namespace app::session {

namespace {

using TEntry = std::int32_t (*)(std::int32_t);

// Restores the current folder and the busy state however the call ends.
class TCallScope {
public:
    TCallScope(const QString& folder, const std::function<void(bool)>& onBusy)
        : m_previous(QDir::currentPath()), m_onBusy(onBusy) {
        m_entered = QDir::setCurrent(folder);
        if (m_entered && m_onBusy) m_onBusy(true);
    }
    ~TCallScope() {
        if (!m_entered) return;
        if (m_onBusy) m_onBusy(false);
        QDir::setCurrent(m_previous);
    }
    TCallScope(const TCallScope&) = delete;
    TCallScope& operator=(const TCallScope&) = delete;
    [[nodiscard]] bool Entered() const { return m_entered; }

private:
    QString m_previous;
    const std::function<void(bool)>& m_onBusy;
    bool m_entered = false;
};

}  // namespace

QString RunFolderBase() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(runtime);
    if (!runtime.isEmpty() && info.isDir() && info.isWritable()) return runtime;
    return QDir::tempPath();
}

TEngineRunner::TEngineRunner(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString TEngineRunner::LibraryPath() const {
    return QDir(m_programFolder).filePath(QString::fromLatin1(kEngineFileName));
}

TRunResult TEngineRunner::Run(const std::string& dataFile) {
    if (m_running) return {TRunStatus::AlreadyRunning, 0, {}};
    m_running = true;
    struct TRunningFlag {
        bool& flag;
        ~TRunningFlag() { flag = false; }
    } runningFlag{m_running};

    const std::string dataPath = QFileInfo(QString::fromStdString(dataFile)).absoluteFilePath().toStdString();

    QTemporaryDir runFolder(QDir(RunFolderBase()).filePath(QStringLiteral("drenok-run-XXXXXX")));
    if (!runFolder.isValid()) {
        return {TRunStatus::SetupFailed, 0,
                "The run folder could not be made in " + RunFolderBase().toStdString() + ": " +
                    runFolder.errorString().toStdString()};
    }
    if (std::string failed = app::model::PrepareRunFolder(runFolder.path().toStdString(), dataPath);
        !failed.empty())
        return {TRunStatus::SetupFailed, 0, failed};

    TDynamicLibrary library;
    TEntry entry = nullptr;
    try {
        library.SetLibraryName(LibraryPath());
        library.Load();
        entry = reinterpret_cast<TEntry>(library.EntryPoint(kEngineEntry));
    } catch (const EDLLError& e) {
        std::string detail = e.what();
        if (!library.LastError().isEmpty()) detail += ": " + library.LastError().toStdString();
        return {TRunStatus::LoadFailed, 0, detail};
    }
    // A library without the entry is never called.
    if (entry == nullptr) return {TRunStatus::LoadFailed, 0, std::string("no entry ") + kEngineEntry};

    TRunResult result;
    {
        TCallScope scope(runFolder.path(), OnBusy);
        if (!scope.Entered()) {
            return {TRunStatus::SetupFailed, 0,
                    "The run folder could not be entered: " + runFolder.path().toStdString()};
        }
        try {
            result.EngineResult = entry(kInterfaceNumber);
            result.Status = result.EngineResult == 1 ? TRunStatus::VersionMismatch : TRunStatus::Completed;
        } catch (const std::exception& e) {
            result = {TRunStatus::EngineFailed, 0, e.what()};
        } catch (...) {
            result = {TRunStatus::EngineFailed, 0, "unknown exception"};
        }
    }
    library.Unload();
    // The outputs beside the data file change only now, all three together; a failed call leaves
    // the previous ones as they were.
    if (result.Status == TRunStatus::Completed) {
        if (std::string failed = app::model::PublishRunOutputs(runFolder.path().toStdString(), dataPath);
            !failed.empty())
            result = {TRunStatus::PublishFailed, result.EngineResult, failed};
    }
    return result;
}

}  // namespace app::session
