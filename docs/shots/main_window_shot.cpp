// A picture of the main window after a run, with the Graphics menu open, for a person to look at.
// Usage: main_window_shot OUTPUT.png (run under a real display server, such as xvfb-run).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "app/model/command_rules.h"
#include "app/ui/main_form.h"
#include "docs/shots/shot_support.h"

using app::ui::shots::CopyExample;
using app::ui::shots::MakeForm;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) return 2;
    QTemporaryDir folder;
    const QString file = CopyExample(folder, QStringLiteral("three_stages.dn5d"));

    const std::unique_ptr<app::ui::TMainForm> mainWindow = MakeForm(folder);
    app::ui::TMainForm& form = *mainWindow;
    form.resize(1100, 720);
    form.move(0, 0);
    form.OpenFromCommandLine(file);
    form.CommandAction(app::model::TCommand::RunAnalysis)->trigger();
    if (!form.Document().ResultsAvailable()) {
        std::fprintf(stderr, "the run gave no results\n");
        return 1;
    }
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    auto* graphics = form.findChild<QMenu*>(QStringLiteral("GraphicsMenu"));
    emit graphics->aboutToShow();
    const QRect item = form.menuBar()->actionGeometry(graphics->menuAction());
    graphics->popup(form.menuBar()->mapToGlobal(item.bottomLeft()));
    QTest::qWait(500);
    const QRect frame = form.frameGeometry();
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    graphics->close();
    QDir().mkpath(QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath());
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]))) return 1;
    std::printf("saved %s\n", argv[1]);
    return 0;
}
