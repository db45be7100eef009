#pragma once
// Files handed to the desktop's handler (help files, a workbook, a text file when no editor is
// set). The handler reports through its exit status whether it found a program for the file; a
// failure must reach the user, not only standard error.

#include <QObject>
#include <QString>
#include <functional>

namespace app::session {

/// The desktop's handler for a file.
inline constexpr const char* kDesktopOpener = "xdg-open";

/// "The desktop could not open <name> (in the folder <folder>): <why>. …"
[[nodiscard]] QString DesktopFailureMessage(const QString& file, const QString& why);

/// Starts `opener` with `file` as its one argument, without a shell and without waiting. When it
/// cannot start, or ends with a nonzero status, `failed` gets DesktopFailureMessage — unless
/// `context` has gone by then. The process is owned by `context`.
void OpenWithDesktop(const QString& file, QObject* context,
                     std::function<void(const QString& message)> failed,
                     const QString& opener = QString::fromLatin1(kDesktopOpener));

}  // namespace app::session
