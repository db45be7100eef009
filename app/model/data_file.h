#pragma once
// The data file as the desktop program writes and reads it: the writer (normalisation of the options,
// derived codes, number format), the readers of the current and the three older layouts, and the small
// decisions of the file commands (display name, window title, save prompt). Files are replaced
// atomically: a write goes to a temporary file in the same folder that is then renamed over the old one.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "app/model/program_data.h"

namespace app::model {

/// Layouts the reader understands.
enum class TDataFileFormat {
    Current = 1,    // .dn5d
    Previous = 2,   // .dn4d: no tieback count, no active width in the wall record
    Version30 = 3,  // .dnd: no moment-EI sets, legacy surcharge only, no p-y multipliers
    Version20 = 4,  // .dnd: as 3.0, soil layers as thicknesses with one row, no end marker
};

inline constexpr const char* kNewFileName = "NewWall.dn5d";
inline constexpr const char* kDefaultExtension = "dnd";
inline constexpr const char* kOpenFilter =
    "Drenok 2015 (*.dn5d)|*.dn5d|Drenok 2013 (*.dn4d)|*.dn4d|Drenok 3.0 (*.dnd)|*.dnd|Drenok 2.0 "
    "(*.dnd)|*.dnd|All Files (*.*)|*.*";
inline constexpr const char* kSaveFilter = "Drenok 2015 (*.dn5d)|*.dn5d|All Files (*.*)|*.*";
inline constexpr const char* kSaveQuestion = "Do you want to save any changes?";

/// Format of the Open dialog's filter index (1-based); "All Files" and anything else read as 2.0.
[[nodiscard]] TDataFileFormat FormatFromFilterIndex(int index);
/// Format of a file opened by name: ".dn4d" previous, ".dnd" 3.0, anything else current.
[[nodiscard]] TDataFileFormat FormatFromExtension(const std::filesystem::path& path);

/// Name without folder; a ".dnd" extension dropped; first letter upper case when longer than one.
[[nodiscard]] std::string DisplayName(const std::string& path);
[[nodiscard]] std::string WindowTitle(const std::string& path);
/// "Data file: <display name>, has been read by DRENOK 2015".
[[nodiscard]] std::string ReadMessage(const std::string& path);
[[nodiscard]] std::string SaveAsDialogTitle(const std::string& path);
/// The path with its extension changed to ".dn5d".
[[nodiscard]] std::string SaveAsInitialName(const std::string& path);
/// Save must go through Save As: a new problem's name, or a file not in the current layout.
[[nodiscard]] bool NeedsSaveAs(const std::string& fileName);
/// The command-line argument as a data-file name: ".dn4d" appended when it holds no ".".
[[nodiscard]] std::string CommandLineDataFile(const std::string& argument);

/// A real as written: through double, general format, 8 significant digits, "." as separator.
[[nodiscard]] std::string FormatReal(long double value);

// ---- Writer --------------------------------------------------------------------------------------

/// Normalises the model (tables of options that are off are emptied, derived codes computed, the last
/// stiffness row made constant) and returns the text of the data file of a single-stage problem.
[[nodiscard]] std::string FormatDataFile(TProgramData& model);
/// The same problem as stage file `stage` (1…5): stage title for stages after the first, generated
/// earth pressure written as 2, the stage number as end marker, no long-term problem.
[[nodiscard]] std::string FormatStageFile(TProgramData& model, int stage);

/// Writes the text produced by `produce` to a temporary file beside `path` and renames it over `path`.
/// On any failure (including an exception from `produce`) the temporary file is removed, `path` is left
/// as it was and EInOutError is thrown.
void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& produce);

/// FormatDataFile written atomically to `path`; on success the tables' changed flags are cleared and the
/// stage-file layout flags set. `FileName` is not touched.
void SaveDataFile(TProgramData& model, const std::filesystem::path& path);

// ---- Reader --------------------------------------------------------------------------------------

/// Reads `text` in `format` into a fresh model with private tables and, only when that succeeds, moves
/// the result into `model` and its tables (`FileName` := `fileName`, changed flags cleared, results
/// emptied). On a malformed text EInOutError carries the word reader's message and `model` is unchanged.
void ReadDataText(TProgramData& model, std::string_view text, TDataFileFormat format,
                  const std::string& fileName);
/// A stage file's text read into `model` in the layout the stage-file layout flags name (tieback count:
/// current; moment-EI count only: previous; neither: 3.0). Tables without records in the text keep their
/// rows; tables end with at least MinRows rows; changed flags are cleared. `FileName`, `CurrentStage`, the
/// layout flags and the results are kept. On a malformed text EInOutError and `model` is unchanged.
void ReadStageText(TProgramData& model, std::string_view text);
/// Everything of the problem `from` (its values, options and tables, as they stand, nothing written
/// or normalised) into `to`; the results of `to` are emptied and its tables' changed flags cleared.
void CopyProblem(const TProgramData& from, TProgramData& to);
/// ReadDataText of the file's contents; an unreadable file throws EInOutError.
void CreateFromFile(TProgramData& model, const std::filesystem::path& path, TDataFileFormat format);

// ---- Save prompt ---------------------------------------------------------------------------------

enum class TPromptAnswer { Yes, No, Cancel };

/// The main window's flag or any plain table's changed flag (chart tables do not count).
[[nodiscard]] bool IsProblemChanged(bool windowChanged, const TProblemTables& tables);

/// Continue (true) or cancel (false). Unchanged: true without asking. Otherwise `ask` gets the question;
/// Cancel → false, No → true, Yes → `save` (the interface's Save) and true unless it saved nothing (it
/// answers false) or `FileName` is still the new problem's name (a cancelled Save As).
[[nodiscard]] bool SavePrompt(const TProgramData& model, bool windowChanged,
                              const std::function<TPromptAnswer(const std::string& question)>& ask,
                              const std::function<bool()>& save);

}  // namespace app::model
