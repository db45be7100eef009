#pragma once
// What the screenshot programs share: a main window whose messages go nowhere, on a copy of an example.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QString>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "app/ui/main_form.h"

namespace app::ui::shots {

// Messages would wait for a click; the pictures are about the windows.
class QuietDialogs : public TDialogs {
public:
    void Information(QWidget*, const QString&) override {}
};

/// Where the pictures' data files go: the folder DRENOK_SHOTS_FOLDER names when the caller made one (a
/// plain name reads better in a picture that shows the file's path than a scratch folder's random
/// one), else `scratch`.
inline QString DataFolder(const QTemporaryDir& scratch) {
    const QFileInfo wanted(qEnvironmentVariable("DRENOK_SHOTS_FOLDER"));
    return !wanted.filePath().isEmpty() && wanted.isDir() && wanted.isWritable() ? wanted.filePath()
                                                                                 : scratch.path();
}

/// A writable copy of example `name` in the data folder of `folder`.
inline QString CopyExample(const QTemporaryDir& folder, const QString& name) {
    const QString file = QDir(DataFolder(folder)).filePath(name);
    QFile::remove(file);
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

/// Widens `window` (up to `widest` pixels) so that the columns of its tables show whole, headers
/// included: a picture of a table whose last columns are cut says less than it should. A table that
/// shares the window's width with other widgets gets only part of each widening, hence the rounds.
inline void FitTables(QMdiSubWindow& window, int widest = 1000) {
    for (int round = 0; round < 6; ++round) {
        int missing = 0;
        for (QTableView* view : window.findChildren<QTableView*>()) {
            if (!view->isVisible()) continue;
            view->resizeColumnsToContents();
            const int scroll =
                view->verticalScrollBar()->isVisible() ? view->verticalScrollBar()->width() : 0;
            const int needed = view->verticalHeader()->width() + view->horizontalHeader()->length() +
                               2 * view->frameWidth() + scroll;
            missing = std::max(missing, needed - view->width());
        }
        if (missing <= 0 || window.width() >= widest) return;
        window.resize(std::min(widest, window.width() + missing), window.height());
        QCoreApplication::processEvents();
    }
}

}  // namespace app::ui::shots
