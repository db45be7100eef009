#pragma once
// Construction stages: the model holds one stage at a time; every stage lives in its own file beside the
// data file (".st1" … ".st5"), and the data file of a staged problem is those files one after another.
// Questions, messages, the status bar and the stage buttons go through callbacks of the interface.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/data_file.h"
#include "app/model/program_data.h"

namespace app::model {

inline constexpr int kMaxStages = 5;
inline constexpr const char* kStageTitleMark = " Stage No :";
inline constexpr const char* kStageStatusPrefix = "Construction Stage Number: ";
inline constexpr const char* kStagedDialogCaption = "Staged Construction Options";

/// Stage file `stage` of the data file `dataFile`: its extension replaced by ".st<stage>".
[[nodiscard]] std::filesystem::path StageFilePath(const std::filesystem::path& dataFile, int stage);
/// "Construction Stage Number: <stage>".
[[nodiscard]] std::string StageStatusText(int stage);
/// The confirmation asked before copying stage `current` − 1 into stage `current`.
[[nodiscard]] std::string CopyPreviousQuestion(int current);
/// The text of a staged data file cut into its stages: the first runs up to the first line holding
/// " Stage No :", every later one from such a line up to the next. Lines end in "\n".
[[nodiscard]] std::vector<std::string> SplitStagedText(std::string_view text);

struct TStageCallbacks {
    /// Information box with the reader's message.
    std::function<void(const std::string& message)> ShowMessage;
    /// Confirmation with Yes (true) and No.
    std::function<bool(const std::string& question)> Confirm;
    /// Status bar text; empty clears it.
    std::function<void(const std::string& text)> SetStatus;
    /// The Stage Construction menu and the toolbar's stage buttons follow StageCount and CurrentStage.
    std::function<void()> RefreshStageControls;
};

/// Stage commands on one model. Writes go through WriteFileAtomically and throw EInOutError on failure,
/// leaving the previous file as it was.
class TStages {
public:
    explicit TStages(TProgramData& model, TStageCallbacks callbacks = {});

    /// Writes the model as stage file `CurrentStage`; clears the tables' changed flags.
    void SaveStage();
    /// Reads stage file `CurrentStage` into the model. False, model unchanged, when the file is missing or
    /// malformed (then the reader's message is shown).
    bool LoadStage();
    /// Saves the current stage and loads stage `stage`; the problem counts as changed afterwards exactly
    /// when it did before (`windowChanged` is the main window's flag).
    void SwitchStage(int stage, bool& windowChanged);
    /// Saves the current stage, keeping the changed state.
    void UpdateCurrentStage(bool& windowChanged);
    /// After a Yes: stage CurrentStage − 1 loaded and saved as the current stage. False when not asked
    /// (first stage) or answered No.
    bool CopyPreviousStage();
    /// OK of the staged-construction dialog with the new count `count` (1 … 5).
    void ApplyStageCount(int count, bool& windowChanged);

    /// Stage files of `FileName` made from the staged data file `source` (stage files 1 … 5 deleted
    /// first). Returns the number of stage files written.
    int SplitDataFile(const std::filesystem::path& source);
    /// Loads every stage with the layout of `format` and saves it in the current layout; then stage 1 is
    /// current and loaded. False, stopping there, when a stage could not be loaded.
    bool ConvertStageFiles(TDataFileFormat format);
    /// After the data file `FileName` has been read: split it and, for an older layout, convert the stages.
    bool OpenStagedDataFile();
    /// The data file `dataFile` written as stage files 1 … StageCount of `FileName`, line by line. A missing
    /// stage file throws EInOutError and leaves `dataFile` as it was.
    void JoinStageFiles(const std::filesystem::path& dataFile) const;
    /// File Save of a staged problem: the current stage, then the data file.
    void SaveStagedDataFile();
    /// Save As of a staged problem: the data file `newName` from the old name's stage files, which then
    /// move to the new name; `FileName` := `newName`.
    void SaveStagedAs(const std::filesystem::path& newName);
    /// Deletes stage files `first` … 5 of `FileName` that exist.
    void DeleteStageFiles(int first) const;
    /// Where the stage files are kept when the data file's folder cannot be written to (an installed
    /// example); empty: beside the data file. Save As moves them beside the new name.
    void SetScratchFolder(std::filesystem::path folder) { m_scratch = std::move(folder); }
    /// Where stage file `stage` is kept (beside the data file, or in the scratch folder).
    [[nodiscard]] std::filesystem::path StageFile(int stage) const { return stageFile(stage); }

private:
    [[nodiscard]] std::filesystem::path stageFile(int stage) const;
    void status(const std::string& text) const;
    void refresh() const;

    TProgramData& m_model;
    TStageCallbacks m_callbacks;
    std::filesystem::path m_scratch;
};

}  // namespace app::model
