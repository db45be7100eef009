#pragma once
// What the screenshot programs share: a main window whose messages go nowhere, on a copy of an example.

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/ui/main_form.h"

namespace app::ui::shots {

// Messages would wait for a click; the pictures are about the windows.
class QuietDialogs : public TDialogs {
public:
    void Information(QWidget*, const QString&) override {}
};

/// A writable copy of example `name` in `folder`.
inline QString CopyExample(const QTemporaryDir& folder, const QString& name) {
    const QString file = folder.filePath(name);
    QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + name, file);
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return file;
}

/// A main window with settings of its own in `folder` and the engine of the build.
inline std::unique_ptr<TMainForm> MakeForm(const QTemporaryDir& folder) {
    TMainFormOptions options;
    options.ProgramFolder = QStringLiteral(DRENOK_ENGINE_DIR);
    options.SettingsFile = folder.filePath(QStringLiteral("settings.ini"));
    options.Dialogs = std::make_unique<QuietDialogs>();
    return std::make_unique<TMainForm>(std::move(options));
}

}  // namespace app::ui::shots
