#pragma once
// The outside text editor that shows the data file, the report and the run notes.

#include <QString>

namespace app::session {

/// Used when no editor is stored: the desktop's handler for the file.
inline constexpr const char* kDefaultTextEditor = "xdg-open";

/// Starts `editor` (a program path; empty means the default) with `file` as its one argument, without
/// a shell and without waiting. False when the program cannot be started.
bool StartTextEditor(const QString& editor, const QString& file);

}  // namespace app::session
