#pragma once
// One analysis: the engine loaded from the program's folder, called once with the interface number in
// a run folder of its own, unloaded. The engine reads the run file and leaves its scratch files in the
// current folder, so each run gets a private folder under the user's runtime (or temporary) folder:
// two copies of the program never share them, and the program's folder may be read-only. The engine
// reads a copy of the data file and writes the report, plot data and run notes in that folder; they
// are moved beside the data file, together, when the call has returned.

#include <QString>
#include <functional>
#include <string>

#include "engine/interface.h"

namespace app::session {

inline constexpr const char* kEngineFileName = engine::interface::kLibraryFileName;
inline constexpr const char* kEngineEntry = engine::interface::kDecoratedEntryName;
inline constexpr int kInterfaceNumber = engine::interface::kInterfaceNumber;

enum class TRunStatus {
    Completed,        // the engine returned; errors in the data are in its report
    VersionMismatch,  // the engine answered 1: it does not speak this interface
    AlreadyRunning,   // a run is in progress (the call came back into the runner)
    LoadFailed,       // no library, not loadable, or without the entry: nothing was called
    SetupFailed,      // the run folder or the run file could not be made: nothing was called
    EngineFailed,     // the call ended with an exception
    PublishFailed,    // the engine ran, but its outputs could not be put beside the data file
};

struct TRunResult {
    TRunStatus Status = TRunStatus::Completed;
    int EngineResult = 0;
    std::string Detail;  // the system's reason for a load or set-up failure
};

class TEngineRunner {
public:
    /// The engine is `programFolder`/libDrenok2015_DLL.so.
    explicit TEngineRunner(QString programFolder);

    /// Runs the data file `dataFile` (made absolute first). The current folder is the run folder during
    /// the call and the previous one again afterwards; the run folder is removed.
    TRunResult Run(const std::string& dataFile);

    [[nodiscard]] bool IsRunning() const { return m_running; }
    /// Where the engine and the command-line tools beside it are.
    [[nodiscard]] const QString& ProgramFolder() const { return m_programFolder; }
    [[nodiscard]] QString LibraryPath() const;

    /// Called with true just before the engine is called and with false when it has returned.
    std::function<void(bool busy)> OnBusy;

private:
    QString m_programFolder;
    bool m_running = false;
};

/// Where run folders are made: $XDG_RUNTIME_DIR when it is a writable folder, else the temporary folder.
[[nodiscard]] QString RunFolderBase();

}  // namespace app::session
