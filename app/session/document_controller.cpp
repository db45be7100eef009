#include "app/session/document_controller.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/model/model_checks.h"
#include "app/model/run_files.h"
#include "app/model/run_outcome.h"
#include "app/model/word_reader.h"
#include "app/session/text_editor.h"

namespace app::session {

namespace fs = std::filesystem;
using namespace app::model;

namespace {

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

// Byte for byte: a file name need not be valid UTF-8.
}  // namespace

TDiskStamp DiskStamp(const std::string& path) {
    std::error_code error;
    TDiskStamp stamp;
    stamp.Time = fs::last_write_time(path, error);
    if (error) return {};
    stamp.Size = fs::file_size(path, error);
    if (error) return {};
    stamp.Known = true;
    return stamp;
}

std::string ChangedOnDiskQuestion(const std::string& path) {
    return "The file " + path +
           " has changed on disk since it was opened or saved here (by another program, or another copy of "
           "this one). Save over it?";
}

std::string LockFilePath(const std::string& dataFile) {
    const fs::path path(dataFile);
    return (path.parent_path() / ("." + path.filename().string() + ".lock")).string();
}

std::string OpenElsewhereQuestion(const std::string& path, long long process, const std::string& host,
                                  bool saving) {
    std::string question = "The file " + path + " is open in another copy of the program (process " +
                           std::to_string(process) + (host.empty() ? "" : " on " + host) + "). ";
    question += saving
                    ? "Saving over it here means one copy's save replaces the other's. Save over it anyway?"
                    : "Opening it here as well rewrites its stage files under the other copy, and the "
                      "last save wins. Open it anyway?";
    return question;
}

namespace {

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

}  // namespace

TDocumentController::TDocumentController(TDocumentPorts ports, const QString& programFolder)
    : m_ports(std::move(ports)), m_plots(CreatePlotDefinitions()), m_runner(programFolder) {
    m_runner.OnBusy = [this](bool busy) {
        if (m_ports.SetBusy) m_ports.SetBusy(busy);
    };
    replaceModel();
}

TDocumentController::~TDocumentController() = default;

void TDocumentController::replaceModel() {
    m_stages.reset();
    m_reader.reset();
    m_model.reset();
    m_model = std::make_unique<TProgramData>(m_tables);
    m_reader = std::make_unique<TResultsReader>(*m_plots, *m_model);
    m_reader->OnShowMessage = [this](const std::string& message) { showMessage(message); };
    m_runStatus = {};
    m_diskStamp = {};
    m_lock.reset();
    // A graph title belongs to the file it was typed for: New and Open start from none.
    for (app::model::TGraphPlot* plot : m_plots->All()) {
        plot->GraphTitle.clear();
        plot->TitleAtTop = false;
    }
    m_resultsStale = false;
    m_readNotices.clear();
    m_readStoreNotice.clear();
    TStageCallbacks callbacks;
    callbacks.ShowMessage = [this](const std::string& message) { showMessage(message); };
    callbacks.Confirm = [this](const std::string& question) {
        return m_ports.Confirm && m_ports.Confirm(question);
    };
    callbacks.SetStatus = [this](const std::string& text) {
        if (m_ports.SetStatus) m_ports.SetStatus(text);
    };
    callbacks.RefreshStageControls = [this] { refresh(); };
    m_stages = std::make_unique<TStages>(*m_model, std::move(callbacks));
    resetHistory();
}

std::optional<TProblemSnapshot> TDocumentController::snapshot() {
    TProblemSnapshot state;
    state.CurrentStage = m_model->CurrentStage;
    auto problem = std::make_shared<TProblemCopy>();
    CopyProblem(*m_model, problem->Model);
    try {
        // The texts from a second copy: writing a file tidies the problem (a table whose option is
        // off is emptied), which must not happen to the problem in hand or to the copy kept.
        TProblemCopy written;
        CopyProblem(*m_model, written.Model);
        if (m_model->StageCount < 2) {
            state.Texts.push_back(FormatDataFile(written.Model));
        } else {
            // The stage in hand from the problem, the others from their files (a switch saves them).
            for (int n = 1; n <= m_model->StageCount; ++n)
                state.Texts.push_back(n == m_model->CurrentStage ? FormatStageFile(written.Model, n)
                                                                 : stageText(n));
        }
    } catch (const EInOutError&) {
        return std::nullopt;  // a value no file can take: the step is recorded once it is mended
    }
    state.Problem = std::move(problem);
    return state;
}

std::string TDocumentController::stageText(int stage) {
    // In the program's own layout, so a stage file still as the data file gave it (other number
    // forms) compares equal to the same stage written by the program.
    const std::string raw = ReadInputFile(m_stages->StageFile(stage));
    if (const auto known = m_stageTexts.find(raw); known != m_stageTexts.end()) return known->second;
    TProblemCopy scratch;
    scratch.Model.CurrentStage = stage;
    ReadStageText(scratch.Model, raw);
    std::string text = FormatStageFile(scratch.Model, stage);
    if (m_stageTexts.size() > 32) m_stageTexts.clear();
    m_stageTexts.emplace(raw, text);
    return text;
}

void TDocumentController::resetHistory() {
    if (std::optional<TProblemSnapshot> state = snapshot()) m_history.Reset(std::move(*state));
}

void TDocumentController::CheckPoint() {
    if (std::optional<TProblemSnapshot> state = snapshot()) m_history.Record(std::move(*state));
}

void TDocumentController::restore(const TProblemSnapshot& state, const TProblemSnapshot& current) {
    noteEdits();
    // The results stay: they belong to the file on disk, and are marked out of date when it differs.
    const TResultsStore results = m_model->Results;
    const std::string fileName = m_model->FileName;
    const int stages = static_cast<int>(state.Texts.size());
    if (stages > 1) {
        // The other stages' files as they were; the stage in hand comes from the copy. A file that
        // cannot be written puts back those already written, so the files and the problem agree.
        std::vector<int> written;
        try {
            for (int n = 1; n <= stages; ++n) {
                if (n == state.CurrentStage) continue;
                const std::string& text = state.Texts[static_cast<std::size_t>(n - 1)];
                WriteFileAtomically(m_stages->StageFile(n), [&text](std::ostream& out) { out << text; });
                written.push_back(n);
            }
        } catch (const EInOutError& e) {
            for (const int n : written) {
                std::error_code ignored;
                if (static_cast<std::size_t>(n) <= current.Texts.size() && current.Texts.size() > 1) {
                    const std::string& text = current.Texts[static_cast<std::size_t>(n - 1)];
                    try {
                        WriteFileAtomically(m_stages->StageFile(n),
                                            [&text](std::ostream& out) { out << text; });
                    } catch (const EInOutError&) {
                        // the file keeps the state undone to; the message below says nothing changed in hand
                    }
                } else {
                    fs::remove(m_stages->StageFile(n), ignored);
                }
            }
            throw EInOutError(std::string("Nothing was undone: ").append(e.what()));
        }
        m_stages->DeleteStageFiles(stages + 1);
    } else if (m_model->StageCount > 1) {
        m_stages->DeleteStageFiles(1);
    }
    CopyProblem(state.Problem->Model, *m_model);
    m_model->FileName = fileName;
    m_model->Results = results;
    if (m_ports.SetStatus)
        m_ports.SetStatus(m_model->StageCount > 1 ? StageStatusText(m_model->CurrentStage) : std::string());
}

void TDocumentController::step(bool back) {
    CheckPoint();
    if (back ? !m_history.CanUndo() : !m_history.CanRedo()) return;
    const TProblemSnapshot current = m_history.Current();
    const TProblemSnapshot target = back ? m_history.Undo() : m_history.Redo();
    try {
        restore(target, current);
    } catch (...) {
        (void)(back ? m_history.Redo() : m_history.Undo());  // the history stays where the problem is
        throw;
    }
    m_changed = !m_history.AtSaved();
    refresh();
}

void TDocumentController::Undo() {
    step(true);
}

void TDocumentController::Redo() {
    step(false);
}

void TDocumentController::showMessage(const std::string& message) const {
    if (m_ports.ShowMessage) m_ports.ShowMessage(message);
}

void TDocumentController::refresh() const {
    if (m_ports.Refresh) m_ports.Refresh();
}

bool TDocumentController::IsChanged() const {
    return IsProblemChanged(m_changed, m_tables);
}

bool TDocumentController::ResultsOutOfDate() const {
    return m_resultsAvailable && (m_resultsStale || IsChanged());
}

void TDocumentController::noteEdits() {
    if (m_resultsAvailable && IsChanged()) m_resultsStale = true;
}

void TDocumentController::resultsRead() {
    m_resultsStale = false;
    if (m_resultsAvailable) app::model::SetDepthLevels(*m_plots, CaseInputs());
    m_readNotices.clear();
    for (const app::model::TGraphPlot* plot : std::as_const(*m_plots).All())
        m_readNotices.push_back(plot->Notice);
    m_readStoreNotice = app::model::NotConvergedNotice(m_runStatus, *m_model);
    m_model->Results.Notice = m_readStoreNotice;
}

bool TDocumentController::PublishResultsState() {
    const bool stale = ResultsOutOfDate();
    auto combined = [stale](const std::string& read) {
        if (!stale) return read;
        return read.empty() ? std::string(app::model::kOutOfDateNotice)
                            : std::string(app::model::kOutOfDateNotice) + "; " + read;
    };
    bool changed = false;
    std::size_t k = 0;
    for (app::model::TGraphPlot* plot : m_plots->All()) {
        const std::string read = k < m_readNotices.size() ? m_readNotices[k] : std::string();
        ++k;
        std::string wanted = m_resultsAvailable ? combined(read) : read;
        if (plot->Notice != wanted) {
            plot->Notice = std::move(wanted);
            changed = true;
        }
    }
    std::string store = m_resultsAvailable ? combined(m_readStoreNotice) : std::string();
    if (m_model->Results.Notice != store) {
        m_model->Results.Notice = std::move(store);
        changed = true;
    }
    return changed;
}

std::vector<app::model::TCaseInputs> TDocumentController::CaseInputs() const {
    return app::model::CaseInputsOfFile(*m_model, m_model->FileName);
}

app::model::TResultsSummary TDocumentController::ResultsSummary() const {
    if (!m_resultsAvailable) {
        app::model::TResultsSummary none;
        none.Title = m_model->Title;
        none.DataFile = m_model->FileName;
        none.Units = m_model->UnitSystem();
        none.UnitNames = app::model::SummaryUnits(none.Units);
        return none;
    }
    return app::model::SummarizeResults(*m_model, CaseInputs(), m_runStatus);
}

std::string TDocumentController::WindowTitle() const {
    return app::model::WindowTitle(m_model->FileName);
}

TCommandRules TDocumentController::Rules(bool view3DOpen) const {
    const std::string& data = m_model->FileName;
    TCommandInputs inputs;
    inputs.ResultsAvailable = m_resultsAvailable;
    inputs.DataFileExists = fileExists(data);
    inputs.ReportExists = fileExists(RunFilePath(data, kReportExtension));
    inputs.PlotDataExists = fileExists(RunFilePath(data, kPlotDataExtension));
    inputs.RunNotesExists = fileExists(RunFilePath(data, kRunNotesExtension));
    inputs.View3DOpen = view3DOpen;
    return TCommandRules(*m_model, *m_plots, inputs);
}

bool TDocumentController::ConfirmDiscard() {
    return SavePrompt(
        *m_model, m_changed,
        [this](const std::string& question) {
            return m_ports.AskYesNoCancel ? m_ports.AskYesNoCancel(question) : TPromptAnswer::Cancel;
        },
        [this] { return SaveProblem(); });
}

bool TDocumentController::NewProblem() {
    if (!ConfirmDiscard()) return false;
    replaceModel();
    m_changed = false;
    m_resultsAvailable = false;
    if (m_ports.SetStatus) m_ports.SetStatus(std::string());
    refresh();
    return true;
}

bool TDocumentController::OpenProblem() {
    if (!ConfirmDiscard()) return false;
    if (!m_ports.ChooseOpenFile) return false;
    const std::optional<TOpenChoice> choice = m_ports.ChooseOpenFile();
    if (!choice || choice->Path.empty()) return false;
    OpenByName(choice->Path, FormatFromFilterIndex(choice->FilterIndex));
    return true;
}

bool TDocumentController::OpenNamed(const std::string& path) {
    if (!ConfirmDiscard()) return false;
    OpenByName(path, FormatFromExtension(path));
    return true;
}

void TDocumentController::OpenByName(const std::string& path, TDataFileFormat format, bool announce) {
    const std::string file = absolutePath(path);
    replaceModel();
    m_changed = false;
    m_resultsAvailable = false;
    if (m_ports.SetStatus) m_ports.SetStatus(std::string());
    try {
        std::error_code ignored;
        fs::current_path(fs::path(file).parent_path(), ignored);
        CreateFromFile(*m_model, file, format);
    } catch (const std::exception& e) {
        // What the reader could not take leaves a new problem: nothing half-read is shown or saved.
        replaceModel();
        refresh();
        showMessage(e.what());
        return;
    }
    // Before the stage files are split beside it: another copy may be working on them.
    if (!lockDataFile(file, false)) {
        replaceModel();
        refresh();
        return;
    }
    m_diskStamp = DiskStamp(file);
    placeStageFiles();
    bool staged = true;
    try {
        staged = m_model->StageCount < 2 || m_stages->OpenStagedDataFile();
    } catch (const std::exception& e) {
        // The stage files could not be written (a full disk): no stage may stand in for another.
        showMessage(std::string(e.what()).append(" The stages of ").append(file).append(" are not opened."));
        staged = false;
    }
    if (!staged) {
        replaceModel();  // nothing of the file is kept, so nothing can be saved over it
        refresh();
        return;
    }
    const std::string plotData = RunFilePath(file, kPlotDataExtension);
    if (fileExists(plotData)) m_resultsAvailable = m_reader->ReadResults(plotData, false);
    std::string stale;
    if (!m_resultsAvailable && m_reader->LastOutcome().Malformed)
        stale = "the plot-data file is damaged or cut short";
    if (m_resultsAvailable) {
        stale = app::model::ResultsMismatch(*m_model, *m_plots, m_reader->LastOutcome(), file, true);
        // Outputs that are not this file's are not shown as its results.
        if (!stale.empty()) {
            m_resultsAvailable = false;
            for (app::model::TGraphPlot* plot : m_plots->All())
                plot->SetLineCount(0);
        }
    }
    m_runStatus = m_resultsAvailable ? m_reader->LastOutcome().Status : app::model::TRunStatus{};
    resultsRead();
    resetHistory();
    m_recent.Add(file);
    if (announce) showMessage(ReadMessage(file));
    if (!stale.empty())
        showMessage("The results beside " + fs::path(file).filename().string() + " are not shown: " + stale +
                    ". Run the analysis again.");
    refresh();
}

void TDocumentController::OpenFromCommandLine(const std::string& argument) {
    const std::string path = CommandLineDataFile(argument);
    if (!fileExists(path)) {
        refresh();
        return;
    }
    OpenByName(path, FormatFromExtension(path), false);
}

bool TDocumentController::lockDataFile(const std::string& dataFile, bool saving) {
    if (m_lock && m_lock->fileName().toStdString() == LockFilePath(dataFile)) return true;
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(LockFilePath(dataFile)));
    // Held for as long as the file is open: only a lock whose process has ended is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) return true;  // no lock can be kept there
        qint64 process = 0;
        QString host;
        QString application;
        (void)lock->getLockInfo(&process, &host, &application);
        if (!(m_ports.Confirm &&
              m_ports.Confirm(OpenElsewhereQuestion(dataFile, process, host.toStdString(), saving))))
            return false;
        m_lock.reset();  // the other copy keeps its lock
        return true;
    }
    m_lock = std::move(lock);
    return true;
}

bool TDocumentController::canWriteBeside(const std::string& dataFile) const {
    return !m_ports.CanWriteIn || m_ports.CanWriteIn(fs::path(dataFile).parent_path().string());
}

void TDocumentController::placeStageFiles() {
    if (canWriteBeside(m_model->FileName)) return;
    if (!m_stageScratch || !m_stageScratch->isValid())
        m_stageScratch =
            std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("drenok-stages-XXXXXX")));
    if (m_stageScratch->isValid()) m_stages->SetScratchFolder(m_stageScratch->path().toStdString());
}

bool TDocumentController::SaveProblem() {
    noteEdits();
    // A file in a folder that cannot be written to (an installed example) is saved elsewhere, where
    // its run's outputs can go too; nothing is written beside it first.
    if (NeedsSaveAs(m_model->FileName) || !canWriteBeside(m_model->FileName)) return SaveProblemAs();
    // Another program, or another copy of this one, may have saved the file since it was opened here.
    if (m_diskStamp && DiskStamp(m_model->FileName) != m_diskStamp &&
        !(m_ports.Confirm && m_ports.Confirm(ChangedOnDiskQuestion(m_model->FileName))))
        return false;
    if (m_model->StageCount > 1) {
        m_stages->SaveStage();
        m_stages->JoinStageFiles(m_model->FileName);
    } else {
        SaveDataFile(*m_model, m_model->FileName);
    }
    m_diskStamp = DiskStamp(m_model->FileName);
    m_changed = false;
    CheckPoint();
    m_history.MarkSaved();
    m_recent.Add(m_model->FileName);
    refresh();
    return true;
}

bool TDocumentController::SaveProblemAs() {
    noteEdits();
    if (!m_ports.ChooseSaveFile) return false;
    std::string initial = SaveAsInitialName(m_model->FileName);
    if (m_model->FileName != kNewFileName && !canWriteBeside(initial))
        initial = (fs::path(QDir::homePath().toStdString()) / fs::path(initial).filename()).string();
    const std::optional<std::string> chosen =
        m_ports.ChooseSaveFile(initial, SaveAsDialogTitle(m_model->FileName));
    if (!chosen || chosen->empty()) return false;
    const std::string path = absolutePath(*chosen);
    // The old file's lock is given back only once the new one is written.
    std::unique_ptr<QLockFile> previousLock;
    if (!m_lock || m_lock->fileName().toStdString() != LockFilePath(path)) previousLock = std::move(m_lock);
    if (!lockDataFile(path, true)) {
        m_lock = std::move(previousLock);
        return false;
    }
    try {
        // The name changes only once the file has been written, so a failed write keeps the old one.
        if (m_model->StageCount > 1) {
            m_stages->SaveStagedAs(path);
        } else {
            SaveDataFile(*m_model, path);
            m_model->FileName = path;
        }
    } catch (...) {
        m_lock = std::move(previousLock);
        throw;
    }
    m_diskStamp = DiskStamp(path);
    m_changed = false;
    CheckPoint();
    m_history.MarkSaved();
    m_recent.Add(path);
    if (m_ports.CloseChildren) m_ports.CloseChildren();
    refresh();
    return true;
}

void TDocumentController::SetUnitSystem(int units) {
    if (units == m_model->UnitSystem()) return;
    m_model->SetUnitSystem(units);
    OptionChanged();
}

void TDocumentController::SetEarthPressureChoice(int choice) {
    m_model->SetEarthPressureChoice(choice);
    OptionChanged();
}

void TDocumentController::OptionChanged() {
    m_changed = true;
    refresh();
}

void TDocumentController::ToggleLongTerm() {
    if (m_model->StageCount > 1) return;  // stages and the long-term analysis exclude each other
    m_model->ToggleLongTerm();
    OptionChanged();
}

void TDocumentController::SwitchStage(int stage) {
    noteEdits();
    if (m_model->StageCount < 2 || stage < 1 || stage > m_model->StageCount) return;
    m_stages->SwitchStage(stage, m_changed);
    refresh();
}

void TDocumentController::UpdateCurrentStage() {
    noteEdits();
    if (m_model->StageCount < 2) return;
    m_stages->UpdateCurrentStage(m_changed);
    refresh();
}

void TDocumentController::CopyPreviousStage() {
    noteEdits();
    if (m_model->StageCount < 2) return;
    if (m_stages->CopyPreviousStage()) m_changed = true;
    refresh();
}

void TDocumentController::ApplyStageCount(int count) {
    noteEdits();
    if (m_model->LongTerm) return;
    placeStageFiles();
    m_stages->ApplyStageCount(count, m_changed);
    refresh();
}

void TDocumentController::RunAnalysis() {
    // Not saved (cancelled, or the file on disk kept): the engine would run something else.
    if (!SaveProblem()) return;
    // Save As cancelled: nothing to run, or nowhere for the outputs.
    if (m_model->FileName == kNewFileName || !canWriteBeside(m_model->FileName)) return;

    // The file as the engine will read it: errors block the run, warnings are the user's to weigh.
    const std::vector<app::model::TCheckFinding> findings = app::model::CheckDataFile(m_model->FileName);
    if (app::model::HasErrors(findings)) {
        showMessage(std::string(kCheckErrorsMessage) + "\n\n" + app::model::FormatFindings(findings));
        return;
    }
    if (!findings.empty() &&
        !(m_ports.Confirm &&
          m_ports.Confirm(std::string(kCheckWarningsMessage) + "\n\n" + app::model::FormatFindings(findings) +
                          "\n" + kRunAnywayQuestion)))
        return;

    // The run replaces the outputs beside the file only when it has ended: one that cannot start
    // or fails leaves the previous ones, which then no longer count as this problem's results.
    const std::string report = RunFilePath(m_model->FileName, kReportExtension);
    const std::string plotData = RunFilePath(m_model->FileName, kPlotDataExtension);
    const app::session::TRunResult result = m_runner.Run(m_model->FileName);
    switch (result.Status) {
        case app::session::TRunStatus::AlreadyRunning:
            showMessage(kReinitializeMessage);
            return;
        case app::session::TRunStatus::LoadFailed:
            // Which library and why, under the message: what an installation's repair needs.
            showMessage(std::string(kInitializeFailedMessage) + "\n\n" +
                        m_runner.LibraryPath().toStdString() +
                        (result.Detail.empty() ? std::string() : ": " + result.Detail));
            return;
        case app::session::TRunStatus::SetupFailed:
            showMessage(result.Detail);
            return;
        case app::session::TRunStatus::PublishFailed:
            m_resultsAvailable = false;
            showMessage(result.Detail);
            break;
        case app::session::TRunStatus::EngineFailed:
            // The outputs of a failed call are not trusted.
            m_resultsAvailable = false;
            showMessage(kResultsReadErrorMessage);
            break;
        case app::session::TRunStatus::VersionMismatch:
            showMessage(kInconsistentMessage);
            break;
        case app::session::TRunStatus::Completed:
            if (!fileExists(report)) {
                m_resultsAvailable = false;
                showMessage(kNoReportMessage);
                break;
            }
            readRunOutputs(report, plotData);
            break;
    }
    refresh();
    if (m_ports.CloseChildren) m_ports.CloseChildren();
}

void TDocumentController::readRunOutputs(const std::string& report, const std::string& plotData) {
    std::string reportText;
    {
        std::ifstream in(report, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        reportText = text.str();
    }
    m_runStatus = app::model::ReadRunStatus(reportText, app::model::ExpectedProblems(*m_model));
    m_resultsAvailable = fileExists(plotData) && m_reader->ReadResults(plotData, false);
    resultsRead();
    const app::model::TResultsOutcome& outcome = m_reader->LastOutcome();
    if (m_runStatus.AllConverged()) {
        showMessage(kCompletedMessage);
    } else {
        std::string warning = app::model::RunWarningText(m_runStatus, *m_model);
        if (outcome.StoppedCase > 0) warning += "\n\n" + outcome.StopMessage;
        if (m_ports.ShowRunWarning)
            m_ports.ShowRunWarning(warning);
        else
            showMessage(warning);
    }
    if (outcome.Malformed && fileExists(plotData)) showMessage(kResultsReadErrorMessage);
}

void TDocumentController::EditTextFile(const char* extension, const QString& editor) {
    const std::string& data = m_model->FileName;
    const std::string file = extension == nullptr ? data : RunFilePath(data, extension);
    if (extension != nullptr && editor.trimmed().isEmpty() && m_ports.ShowTextFile) {
        m_ports.ShowTextFile(absolutePath(file));
        return;
    }
    if (editor.trimmed().isEmpty() && m_ports.OpenDocument) {
        m_ports.OpenDocument(absolutePath(file));
        return;
    }
    if (!StartTextEditor(editor, QString::fromStdString(absolutePath(file))))
        showMessage(kEditorFailedMessage);
}

}  // namespace app::session
