// The 3D view of examples after a run: the start view, a turned view and the deformed wall, for a
// person to look at. Usage: view3d_shots OUTPUT_FOLDER (under a display server with OpenGL).

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "app/model/command_rules.h"
#include "app/results/view3d/dlg_block.h"
#include "app/ui/main_form.h"
#include "docs/shots/shot_support.h"

using app::ui::shots::CopyExample;
using app::ui::shots::MakeForm;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) return 2;
    if (!app::results::OpenGLAvailable()) {
        std::printf("no OpenGL on this display: skipped\n");
        return 77;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir folder;
    int saved = 0;
    const QStringList names =
        QDir(QStringLiteral(DRENOK_EXAMPLES)).entryList({QStringLiteral("*.dn5d")}, QDir::Files);
    for (const QString& name : names) {
        const QString file = CopyExample(folder, name);
        const std::unique_ptr<app::ui::TMainForm> mainWindow = MakeForm(folder);
        app::ui::TMainForm& form = *mainWindow;
        form.resize(1100, 800);
        form.OpenFromCommandLine(file);
        form.CommandAction(app::model::TCommand::RunAnalysis)->trigger();
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) return 1;
        form.CommandAction(app::model::TCommand::View3D)->trigger();
        QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
        auto* view = window ? qobject_cast<app::results::TDlgBlock*>(window->widget()) : nullptr;
        if (!view || !view->Gl()) return 1;
        window->showMaximized();
        QTest::qWait(200);
        const QString stem = QFileInfo(name).completeBaseName();
        auto shot = [&](const QString& what) {
            QTest::qWait(100);
            if (view->Gl()->grabFramebuffer().save(
                    out.filePath(stem + QStringLiteral("-") + what + QStringLiteral(".png"))))
                ++saved;
        };
        shot(QStringLiteral("start"));
        view->Gl()->Camera().RX = 25;
        view->Gl()->Camera().RZ = -35;
        view->Gl()->update();
        shot(QStringLiteral("turned"));
        view->Options().DeformedShape = true;
        view->Options().UndeformedModel = true;
        view->Options().DeformationFactor = 50;
        view->RedrawComplete();
        shot(QStringLiteral("deformed"));
        form.MdiArea()->closeAllSubWindows();
    }
    std::printf("saved %d pictures in %s\n", saved, qPrintable(out.path()));
    return saved == 3 * names.size() ? 0 : 1;
}
