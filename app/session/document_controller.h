#pragma once
// The file, stage and run commands of the main window, written once: menus, toolbar, dropped files and
// the command line all call these. The controller owns the problem, its tables, the result plots and
// the recent-file list; it talks to the user only through the ports the window installs, so every
// command can be driven by a test with scripted answers.

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/command_rules.h"
#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/recent_files.h"
#include "app/model/results_reader.h"
#include "app/model/results_summary.h"
#include "app/model/stages.h"
#include "app/session/engine_runner.h"
#include "app/session/undo_history.h"

namespace app::session {

inline constexpr const char* kReinitializeMessage = "Attempt to reinitialize DLL";
inline constexpr const char* kInitializeFailedMessage = "Attempt to initialize DLL failed";
inline constexpr const char* kInconsistentMessage =
    "Computations can not be performed. Executable files are not consistent.\nYou may need to reinstall "
    "the program.";
inline constexpr const char* kCompletedMessage =
    "Computations are completed. Please, check output file for results or error messages.";
// A run that left no report (the data file's folder cannot be written to, say) is not a completed run.
inline constexpr const char* kNoReportMessage =
    "The analysis wrote no output file. Check that the folder of the data file can be written to.";
inline constexpr const char* kCheckErrorsMessage = "The problem cannot be run as it stands:";
inline constexpr const char* kCheckWarningsMessage = "The problem may not give the results you expect:";
inline constexpr const char* kRunAnywayQuestion = "Run the analysis anyway?";
inline constexpr const char* kEditorFailedMessage = "An error occurred in running the Word Processor";

/// When and how large a file was on disk; unknown for a file that is not there.
struct TDiskStamp {
    std::filesystem::file_time_type Time{};
    std::uintmax_t Size = 0;
    bool Known = false;
    explicit operator bool() const { return Known; }
    bool operator==(const TDiskStamp&) const = default;
};
[[nodiscard]] TDiskStamp DiskStamp(const std::string& path);
/// Asked before a save over a file that changed on disk since it was opened or saved here.
[[nodiscard]] std::string ChangedOnDiskQuestion(const std::string& path);
/// The lock that says a data file is open in a copy of the program: a hidden file beside it.
[[nodiscard]] std::string LockFilePath(const std::string& dataFile);
/// Asked before opening (or saving over) a file another running copy of the program has open.
[[nodiscard]] std::string OpenElsewhereQuestion(const std::string& path, long long process,
                                                const std::string& host, bool saving);

struct TOpenChoice {
    std::string Path;
    int FilterIndex = 1;  // 1-based position of the chosen filter
};

/// How the controller reaches the user and the window.
struct TDocumentPorts {
    std::function<void(const std::string& message)> ShowMessage;
    std::function<app::model::TPromptAnswer(const std::string& question)> AskYesNoCancel;
    std::function<bool(const std::string& question)> Confirm;
    /// Whether files can be written in a folder; missing: they can.
    std::function<bool(const std::string& folder)> CanWriteIn;
    /// The Open dialog; nothing when cancelled.
    std::function<std::optional<TOpenChoice>()> ChooseOpenFile;
    /// The Save As dialog with its initial name and title; nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& initial, const std::string& title)>
        ChooseSaveFile;
    /// The stage number in the status bar; empty clears it.
    std::function<void(const std::string& text)> SetStatus;
    /// Title, menus and buttons follow the problem again.
    std::function<void()> Refresh;
    std::function<void()> CloseChildren;
    std::function<void(bool busy)> SetBusy;
    /// After a run in which not every problem converged: the warning, with the offer to open the
    /// report; missing: ShowMessage.
    std::function<void(const std::string& message)> ShowRunWarning;
    /// The report or the run notes in the program's read-only viewer (used when no editor is set);
    /// missing: the outside editor.
    std::function<void(const std::string& path)> ShowTextFile;
    /// A file handed to the desktop's handler, which says when it cannot open it; missing: the
    /// handler is started without a word back.
    std::function<void(const std::string& path)> OpenDocument;
};

class TDocumentController {
public:
    /// The engine is looked up in `programFolder`.
    TDocumentController(TDocumentPorts ports, const QString& programFolder);
    ~TDocumentController();
    TDocumentController(const TDocumentController&) = delete;
    TDocumentController& operator=(const TDocumentController&) = delete;

    [[nodiscard]] app::model::TProgramData& Model() { return *m_model; }
    [[nodiscard]] const app::model::TProgramData& Model() const { return *m_model; }
    [[nodiscard]] app::model::TProblemTables& Tables() { return m_tables; }
    /// The registries of the plain and the chart tables, where the window installs its editor factory.
    [[nodiscard]] app::model::TGridTableRegistry& PlainRegistry() { return m_plainRegistry; }
    [[nodiscard]] app::model::TGridTableRegistry& ChartRegistry() { return m_chartRegistry; }
    [[nodiscard]] app::model::PlotDefinitions& Plots() { return *m_plots; }
    [[nodiscard]] const app::model::PlotDefinitions& Plots() const { return *m_plots; }
    [[nodiscard]] app::model::TRecentFiles& RecentFiles() { return m_recent; }
    [[nodiscard]] TEngineRunner& Runner() { return m_runner; }

    /// The main window's changed flag: set by every edit of the problem.
    void SetChanged() { m_changed = true; }
    [[nodiscard]] bool WindowChanged() const { return m_changed; }
    /// The window's flag or any plain table's.
    [[nodiscard]] bool IsChanged() const;
    [[nodiscard]] bool ResultsAvailable() const { return m_resultsAvailable; }
    /// True when results are shown and the problem has changed since they were computed (an edit of
    /// the data, a stage or the units), saved or not.
    [[nodiscard]] bool ResultsOutOfDate() const;
    /// Puts the out-of-date notice on (or takes it off) every plot and the results store; true when
    /// anything changed, so the windows showing results repaint.
    bool PublishResultsState();
    /// What the last run (or the outputs read on opening) said about each problem.
    [[nodiscard]] const app::model::TRunStatus& RunStatus() const { return m_runStatus; }
    /// The inputs of every problem of the data file as saved, for the summary and the node tables.
    [[nodiscard]] std::vector<app::model::TCaseInputs> CaseInputs() const;
    /// The summary of the results shown; no cases without results.
    [[nodiscard]] app::model::TResultsSummary ResultsSummary() const;
    [[nodiscard]] std::string WindowTitle() const;
    /// The rules of every command for the problem as it is now, with the files of the run looked up.
    [[nodiscard]] app::model::TCommandRules Rules(bool view3DOpen = false) const;

    /// Asks to save a changed problem; false when the user cancelled (or a Save As was cancelled).
    bool ConfirmDiscard();

    // File menu. Each returns false when the user cancelled.
    bool NewProblem();
    bool OpenProblem();
    /// A recent file or a dropped file: the save prompt, then OpenByName with the format of its name.
    bool OpenNamed(const std::string& path);
    /// Opens `path` without asking. A file that cannot be read shows the reader's message and leaves a
    /// new problem. `announce` shows the message that the file has been read.
    void OpenByName(const std::string& path, app::model::TDataFileFormat format, bool announce = true);
    /// The program's command-line argument.
    void OpenFromCommandLine(const std::string& argument);
    /// False when nothing was saved (Save As cancelled, or the file changed on disk and kept).
    bool SaveProblem();
    bool SaveProblemAs();

    // Options menu.
    void SetUnitSystem(int units);
    void SetEarthPressureChoice(int choice);
    /// After any toggle of the Options menu: the problem changed, the menus follow.
    void OptionChanged();
    void ToggleLongTerm();

    // Stages.
    void SwitchStage(int stage);
    void UpdateCurrentStage();
    void CopyPreviousStage();
    void ApplyStageCount(int count);

    /// Save, run the engine, read its plot data.
    void RunAnalysis();

    // Edit menu. The window calls CheckPoint after every command, so each command that changed the
    // problem is one step; New and Open start a new history.
    void CheckPoint();
    [[nodiscard]] bool CanUndo() const { return m_history.CanUndo(); }
    [[nodiscard]] bool CanRedo() const { return m_history.CanRedo(); }
    /// Back to the problem before the last change (or forward again); back at the state last saved,
    /// the problem counts as unchanged. Results are kept and shown as out of date when they are.
    void Undo();
    void Redo();
    /// The data file, the run notes or the report in the text editor; the report and the run notes
    /// in the program's viewer when no editor is set.
    void EditTextFile(const char* extension, const QString& editor);

private:
    [[nodiscard]] bool canWriteBeside(const std::string& dataFile) const;
    /// The report's status and the plot data after a run, and what the user is told about them.
    void readRunOutputs(const std::string& report, const std::string& plotData);
    /// After results were read: they are current, with the reader's notices.
    void resultsRead();
    /// Before a step that saves the problem or resets its changed flags: remember that results are stale.
    void noteEdits();
    /// Stage files go to a scratch folder when the data file's folder cannot be written to.
    void placeStageFiles();
    void replaceModel();
    /// The problem as it stands, or nothing while it holds a value no file can take.
    [[nodiscard]] std::optional<TProblemSnapshot> snapshot();
    /// Puts the problem in `state`; `current` is the state it leaves, to put the stage files back when
    /// one cannot be written (then nothing has changed and EInOutError says so).
    void restore(const TProblemSnapshot& state, const TProblemSnapshot& current);
    /// One step back (`back`) or forward, the history moved only when the problem was put back.
    void step(bool back);
    /// Stage file `stage` in the layout the program writes.
    [[nodiscard]] std::string stageText(int stage);
    void resetHistory();
    /// Takes the lock beside `dataFile`, asking first when another copy holds it; false when the
    /// user chose not to go on. A folder that takes no lock file (read-only) is not asked about.
    bool lockDataFile(const std::string& dataFile, bool saving);
    void showMessage(const std::string& message) const;
    void refresh() const;

    TDocumentPorts m_ports;
    app::model::TGridTableRegistry m_plainRegistry;
    app::model::TGridTableRegistry m_chartRegistry;
    app::model::TProblemTables m_tables{m_plainRegistry, m_chartRegistry};
    std::unique_ptr<app::model::TProgramData> m_model;
    std::unique_ptr<app::model::PlotDefinitions> m_plots;
    std::unique_ptr<app::model::TResultsReader> m_reader;
    std::unique_ptr<app::model::TStages> m_stages;
    std::unique_ptr<QTemporaryDir> m_stageScratch;
    app::model::TRecentFiles m_recent;
    TEngineRunner m_runner;
    bool m_changed = false;
    bool m_resultsAvailable = false;
    app::model::TRunStatus m_runStatus;
    TDiskStamp m_diskStamp;             // the data file as this document last read or wrote it
    std::unique_ptr<QLockFile> m_lock;  // held while the data file is open here
    TUndoHistory m_history;
    std::map<std::string, std::string> m_stageTexts;  // stage files as read, and as the program writes them
    /// The problem changed after the results were read, and the change has since been saved.
    bool m_resultsStale = false;
    /// The notices the results were read with, per plot, and of the store; the out-of-date notice
    /// goes before them.
    std::vector<std::string> m_readNotices;
    std::string m_readStoreNotice;
};

}  // namespace app::session
