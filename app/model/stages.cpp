#include "app/model/stages.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace fs = std::filesystem;

namespace {

enum class TLoad { Loaded, Missing, Malformed };

std::string readWholeFile(const fs::path& path) {
    return ReadInputFile(path);
}

std::string lowerExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void writeText(const fs::path& path, const std::string& text) {
    WriteFileAtomically(path, [&text](std::ostream& out) { out << text; });
}

TLoad loadStageFile(TProgramData& model, const fs::path& path, const TStageCallbacks& callbacks) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return TLoad::Missing;
    try {
        ReadStageText(model, readWholeFile(path));
    } catch (const EInOutError& e) {
        if (callbacks.ShowMessage) callbacks.ShowMessage(e.what());
        return TLoad::Malformed;
    }
    return TLoad::Loaded;
}

}  // namespace

fs::path StageFilePath(const fs::path& dataFile, int stage) {
    fs::path path = dataFile;
    return path.replace_extension(std::string(".st").append(std::to_string(stage)));
}

std::string StageStatusText(int stage) {
    return std::string(kStageStatusPrefix).append(std::to_string(stage));
}

std::string CopyPreviousQuestion(int current) {
    return std::string("Do you want to copy all information from Stage ")
        .append(std::to_string(current - 1))
        .append(" to Stage ")
        .append(std::to_string(current));
}

std::vector<std::string> SplitStagedText(std::string_view text) {
    std::vector<std::string> stages(1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // The first line is stage 1's own title, whatever it holds.
        if (start > 0 && line.find(kStageTitleMark) != std::string_view::npos) stages.emplace_back();
        stages.back().append(line).push_back('\n');
        start = end + 1;
    }
    return stages;
}

TStages::TStages(TProgramData& model, TStageCallbacks callbacks)
    : m_model(model), m_callbacks(std::move(callbacks)) {}

fs::path TStages::stageFile(int stage) const {
    if (m_scratch.empty()) return StageFilePath(m_model.FileName, stage);
    return StageFilePath(m_scratch / fs::path(m_model.FileName).filename(), stage);
}

void TStages::status(const std::string& text) const {
    if (m_callbacks.SetStatus) m_callbacks.SetStatus(text);
}

void TStages::refresh() const {
    if (m_callbacks.RefreshStageControls) m_callbacks.RefreshStageControls();
}

void TStages::SaveStage() {
    writeText(stageFile(m_model.CurrentStage), FormatStageFile(m_model, m_model.CurrentStage));
    for (TGridTable* table : m_model.Tables().All())
        table->ResetChanged();
}

bool TStages::LoadStage() {
    return loadStageFile(m_model, stageFile(m_model.CurrentStage), m_callbacks) == TLoad::Loaded;
}

void TStages::SwitchStage(int stage, bool& windowChanged) {
    if (stage == m_model.CurrentStage) return;
    const bool changed = IsProblemChanged(windowChanged, m_model.Tables());
    SaveStage();
    const int before = m_model.CurrentStage;
    m_model.CurrentStage = stage;
    if (!LoadStage()) {
        // The model still holds the stage before: taken for this stage, the next save would write it
        // into this stage's file. Stay on the stage before instead.
        m_model.CurrentStage = before;
        if (m_callbacks.ShowMessage)
            m_callbacks.ShowMessage("Stage " + std::to_string(stage) + " cannot be opened: its file " +
                                    stageFile(stage).string() + " is missing or cannot be read. Stage " +
                                    std::to_string(before) + " stays open; nothing was overwritten.");
        stage = before;
    }
    windowChanged = changed;
    status(StageStatusText(stage));
    refresh();
}

void TStages::UpdateCurrentStage(bool& windowChanged) {
    const bool changed = IsProblemChanged(windowChanged, m_model.Tables());
    SaveStage();
    windowChanged = changed;
}

bool TStages::CopyPreviousStage() {
    const int current = m_model.CurrentStage;
    if (current < 2) return false;
    if (!m_callbacks.Confirm || !m_callbacks.Confirm(CopyPreviousQuestion(current))) return false;
    m_model.CurrentStage = current - 1;
    LoadStage();
    m_model.CurrentStage = current;
    SaveStage();
    return true;
}

void TStages::ApplyStageCount(int count, bool& windowChanged) {
    count = std::clamp(count, 1, kMaxStages);
    const int previous = m_model.StageCount;
    // Unsaved edits of the current stage would be lost when the loop below reloads that stage.
    if (previous > 1 && count != previous) SaveStage();
    const int stageBefore = m_model.CurrentStage;
    m_model.StageCount = count;
    if (count == 1 || previous == 1 || count < previous) m_model.CurrentStage = 1;
    if (count == 1) {
        // What remains of a staged problem is its first stage, with its own title and data.
        if (previous > 1) {
            if (stageBefore != 1 && LoadStage()) m_model.StageCount = 1;
            windowChanged = true;  // the data file on disk still holds every stage
        }
        status(std::string());
        refresh();
        DeleteStageFiles(1);
        return;
    }
    status(StageStatusText(m_model.CurrentStage));
    refresh();
    if (count != previous) {
        const int current = m_model.CurrentStage;
        for (int n = 1; n <= count; ++n) {
            m_model.CurrentStage = n;
            // Without a file the model keeps the stage before: a new stage starts as its copy.
            LoadStage();
            m_model.StageCount = count;
            SaveStage();
        }
        m_model.CurrentStage = current;
        LoadStage();
        windowChanged = true;
    }
    DeleteStageFiles(count + 1);
}

void TStages::DeleteStageFiles(int first) const {
    for (int n = std::max(first, 1); n <= kMaxStages; ++n) {
        std::error_code ignored;
        fs::remove(stageFile(n), ignored);
    }
}

int TStages::SplitDataFile(const fs::path& source) {
    const std::vector<std::string> stages = SplitStagedText(readWholeFile(source));
    DeleteStageFiles(1);
    const int count = std::min(static_cast<int>(stages.size()), m_model.StageCount);
    for (int n = 1; n <= count; ++n)
        writeText(stageFile(n), stages[static_cast<std::size_t>(n - 1)]);
    return count;
}

bool TStages::ConvertStageFiles(TDataFileFormat format) {
    const bool tiebacks = format == TDataFileFormat::Current;
    const bool momentEI = tiebacks || format == TDataFileFormat::Previous;
    bool complete = true;
    for (int n = 1; n <= m_model.StageCount; ++n) {
        m_model.CurrentStage = n;
        m_model.StageFileHasMomentEICount = momentEI;
        m_model.StageFileHasTiebackCount = tiebacks;
        if (loadStageFile(m_model, stageFile(n), m_callbacks) == TLoad::Malformed) {
            complete = false;
            break;
        }
        SaveStage();
        status(StageStatusText(n));
    }
    m_model.StageFileHasMomentEICount = true;
    m_model.StageFileHasTiebackCount = true;
    m_model.CurrentStage = 1;
    if (complete) LoadStage();
    return complete;
}

bool TStages::OpenStagedDataFile() {
    if (m_model.StageCount < 2) return true;
    const int held = static_cast<int>(SplitStagedText(readWholeFile(m_model.FileName)).size());
    if (held < m_model.StageCount) {
        // A stage that is not in the file would be made up from the one before and run as real.
        if (m_callbacks.ShowMessage)
            m_callbacks.ShowMessage("The data file " + m_model.FileName + " names " +
                                    std::to_string(m_model.StageCount) + " stages but holds " +
                                    std::to_string(held) +
                                    "; it is not opened. Mend its stage count or add the missing stages.");
        return false;
    }
    // Every stage in the units of the first: a stage in other units would be drawn on the first's
    // axes (SI depths read as feet).
    const std::vector<std::string> stages = SplitStagedText(readWholeFile(m_model.FileName));
    for (std::size_t n = 1; n < stages.size() && static_cast<int>(n) < m_model.StageCount; ++n) {
        int units = m_model.UnitSystem();
        try {
            TWordReader words(stages[n]);
            (void)words.ReadLine();
            units = words.ReadInteger();
        } catch (const EInOutError&) {
            continue;  // the stage's own reading says what is wrong with it
        }
        if (units != m_model.UnitSystem()) {
            auto name = [](int system) {
                return std::string(system == kUnitsSI ? "SI" : system == kUnitsEnglish ? "English" : "other");
            };
            if (m_callbacks.ShowMessage)
                m_callbacks.ShowMessage(
                    "Stage " + std::to_string(n + 1) + " of " + m_model.FileName + " is in " + name(units) +
                    " units and stage 1 in " + name(m_model.UnitSystem()) +
                    " units; every stage of a problem must use the same units. The file is "
                    "not opened.");
            return false;
        }
    }
    SplitDataFile(m_model.FileName);
    bool complete = true;
    if (lowerExtension(m_model.FileName) != ".dn5d")
        complete = ConvertStageFiles(FormatFromExtension(m_model.FileName));
    status(StageStatusText(m_model.CurrentStage));
    refresh();
    return complete;
}

void TStages::JoinStageFiles(const fs::path& dataFile) const {
    WriteFileAtomically(dataFile, [this](std::ostream& out) {
        for (int n = 1; n <= m_model.StageCount; ++n) {
            const fs::path path = stageFile(n);
            std::ifstream in(path, std::ios::binary);
            if (!in) throw EInOutError(std::string("Cannot read file ").append(path.string()));
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                out << line << '\n';
            }
        }
    });
}

void TStages::SaveStagedDataFile() {
    SaveStage();
    JoinStageFiles(m_model.FileName);
}

void TStages::SaveStagedAs(const fs::path& newName) {
    // Everything is written at the destination, nothing beside the old data file: its folder may
    // have become read-only or full, which is why the user saves elsewhere. The current stage comes
    // from the model, the others from their files.
    std::vector<std::string> texts;
    for (int n = 1; n <= m_model.StageCount; ++n)
        texts.push_back(n == m_model.CurrentStage ? FormatStageFile(m_model, n)
                                                  : readWholeFile(stageFile(n)));
    for (int n = 1; n <= m_model.StageCount; ++n)
        writeText(StageFilePath(newName, n), texts[static_cast<std::size_t>(n - 1)]);
    WriteFileAtomically(newName, [&texts](std::ostream& out) {
        for (const std::string& text : texts) {
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                out << line << '\n';
            }
        }
    });
    for (TGridTable* table : m_model.Tables().All())
        table->ResetChanged();
    // The old stage files go where they can (a read-only folder keeps them; they are made anew from
    // the old data file when it is opened).
    for (int n = 1; n <= kMaxStages; ++n) {
        const fs::path from = stageFile(n);
        std::error_code ignored;
        if (from.lexically_normal() != StageFilePath(newName, n).lexically_normal() &&
            fs::is_regular_file(from, ignored))
            fs::remove(from, ignored);
    }
    m_model.FileName = newName.string();
    m_scratch.clear();
}

}  // namespace app::model
