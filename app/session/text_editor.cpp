#include "app/session/text_editor.h"

#include <QProcess>
#include <QStringList>

namespace app::session {

bool StartTextEditor(const QString& editor, const QString& file) {
    const QString program = editor.trimmed().isEmpty() ? QString::fromLatin1(kDefaultTextEditor) : editor;
    return QProcess::startDetached(program, QStringList{file});
}

}  // namespace app::session
