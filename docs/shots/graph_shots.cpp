// Every graph of every example, opened from the Graphics menu after a run, saved as pictures for a
// person to look at. Usage: graph_shots OUTPUT_FOLDER (under a display server such as xvfb-run).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
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
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir folder;
    using app::model::TCommand;
    const std::pair<TCommand, const char*> graphs[] = {
        {TCommand::GraphPY, "py"},
        {TCommand::GraphDeflection, "deflection"},
        {TCommand::GraphMoment, "moment"},
        {TCommand::GraphShear, "shear"},
        {TCommand::GraphReaction, "reaction"},
        {TCommand::GraphDMS, "dms"},
        {TCommand::GraphPressure, "pressure"},
        {TCommand::GraphPressureCombined, "pressure-combined"}};
    int saved = 0, failed = 0;
    for (const QString& name :
         QDir(QStringLiteral(DRENOK_EXAMPLES)).entryList({QStringLiteral("*.dn5d")}, QDir::Files)) {
        const QString file = CopyExample(folder, name);
        const std::unique_ptr<app::ui::TMainForm> mainWindow = MakeForm(folder);
        app::ui::TMainForm& form = *mainWindow;
        form.resize(1100, 760);
        form.OpenFromCommandLine(file);
        form.CommandAction(TCommand::RunAnalysis)->trigger();
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) return 1;
        for (const auto& [command, graph] : graphs) {
            QAction* action = form.CommandAction(command);
            if (!action->isEnabled()) continue;
            action->trigger();
            QTest::qWait(60);
            QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
            const QString picture = out.filePath(QFileInfo(name).completeBaseName() + QStringLiteral("-") +
                                                 QString::fromLatin1(graph) + QStringLiteral(".png"));
            if (window && window->grab().save(picture))
                ++saved;
            else
                ++failed;
        }
        // The side view of the wall as entered.
        if (QAction* side = form.CommandAction(TCommand::ViewWallGeometry); side->isEnabled()) {
            side->trigger();
            QTest::qWait(60);
            if (QMdiSubWindow* window = form.MdiArea()->activeSubWindow()) {
                window->resize(900, 700);
                QTest::qWait(30);
                const QString picture =
                    out.filePath(QFileInfo(name).completeBaseName() + QStringLiteral("-side.png"));
                window->grab().save(picture) ? ++saved : ++failed;
            }
        }
        form.MdiArea()->closeAllSubWindows();
    }
    std::printf("saved %d graphs in %s, %d failed\n", saved, qPrintable(out.path()), failed);
    return saved > 50 && failed == 0 ? 0 : 1;
}
