// The pictures of the user's guide's first wall, taken from the real program: the main window, its
// menus, the dialogs of the wall the chapter enters, and after a run the graphs, the side view and the
// 3D view. Usage: guide_shots OUTPUT_FOLDER EXAMPLE.dn5d (under a display server such as xvfb-run).

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <functional>

#include "app/model/command_rules.h"
#include "app/results/view3d/dlg_block.h"
#include "app/ui/design/design_window.h"
#include "app/ui/main_form.h"
#include "docs/shots/shot_support.h"

using app::model::TCommand;

namespace {

struct TShots {
    app::ui::TMainForm& form;
    QDir out;
    int saved = 0;
    int failed = 0;

    void save(const QPixmap& picture, const char* name) {
        if (!picture.isNull() &&
            picture.save(out.filePath(QString::fromLatin1(name) + QStringLiteral(".png")))) {
            ++saved;
        } else {
            std::fprintf(stderr, "guide_shots: %s was not saved\n", name);
            ++failed;
        }
    }

    // The whole main window as the screen shows it, open menus included.
    void window(const char* name) {
        QTest::qWait(300);
        const QRect frame = form.frameGeometry();
        save(QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                          frame.height()),
             name);
    }

    void menu(const char* objectName, const char* name) {
        auto* menu = form.findChild<QMenu*>(QString::fromLatin1(objectName));
        if (!menu) {
            std::fprintf(stderr, "guide_shots: no menu %s\n", objectName);
            ++failed;
            return;
        }
        emit menu->aboutToShow();
        const QRect item = form.menuBar()->actionGeometry(menu->menuAction());
        menu->popup(form.menuBar()->mapToGlobal(item.bottomLeft()));
        QTest::qWait(300);
        // The menu's title and the open menu with a margin: what lies beside them (an empty workspace,
        // the text of a window behind) says nothing.
        const QRect title(form.menuBar()->mapToGlobal(item.topLeft()), item.size());
        const QRect shown =
            menu->geometry().united(title).adjusted(-12, 0, 12, 12).intersected(form.frameGeometry());
        save(QGuiApplication::primaryScreen()->grabWindow(0, shown.x(), shown.y(), shown.width(),
                                                          shown.height()),
             name);
        menu->close();
    }

    // A table's editor, at least `least` large, then closed.
    void table(app::model::TGridTable& table, const char* name, QSize least) {
        table.ShowEditor();
        QTest::qWait(200);
        if (QMdiSubWindow* window = form.MdiArea()->activeSubWindow()) {
            window->resize(window->sizeHint().expandedTo(least));
            QTest::qWait(200);
            app::ui::shots::FitTables(*window);
            QTest::qWait(100);
            save(window->grab(), name);
        } else {
            std::fprintf(stderr, "guide_shots: the editor of %s did not open\n", name);
            ++failed;
        }
        form.MdiArea()->closeAllSubWindows();
    }

    // The child window a command opens, at its own size, then closed.
    // `fromScreen` takes what the screen shows, for OpenGL windows whose own picture lacks the frame.
    void child(TCommand command, const char* name, QSize least = QSize(520, 300), bool fromScreen = false,
               const std::function<void(QWidget*)>& arrange = {}) {
        form.CommandAction(command)->trigger();
        QTest::qWait(200);
        QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
        if (!window) {
            std::fprintf(stderr, "guide_shots: %s opened no window\n", name);
            ++failed;
            return;
        }
        window->resize(window->sizeHint().expandedTo(least));
        if (arrange) arrange(window->widget());
        app::ui::shots::FitTables(*window, 1200);
        QTest::qWait(fromScreen ? 800 : 200);
        if (fromScreen) {
            const QPoint at = window->mapToGlobal(QPoint(0, 0));
            save(QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), window->width(),
                                                              window->height()),
                 name);
        } else {
            save(window->grab(), name);
        }
        form.MdiArea()->closeAllSubWindows();
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: guide_shots OUTPUT_FOLDER EXAMPLE.dn5d\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir folder;
    const QFileInfo example(QString::fromLocal8Bit(argv[2]));
    const QString file = QDir(app::ui::shots::DataFolder(folder)).filePath(example.fileName());
    QFile::remove(file);
    if (!QFile::copy(example.filePath(), file)) {
        std::fprintf(stderr, "guide_shots: cannot copy %s\n", argv[2]);
        return 2;
    }
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    const std::unique_ptr<app::ui::TMainForm> mainWindow = app::ui::shots::MakeForm(folder);
    app::ui::TMainForm& form = *mainWindow;
    form.resize(1000, 680);
    form.move(0, 0);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    TShots shots{form, out};
    shots.window("start");
    shots.menu("FileMenu", "file_menu");

    form.OpenFromCommandLine(file);
    shots.menu("DataMenu", "data_menu");
    shots.menu("OptionsMenu", "options_menu");
    shots.child(TCommand::Title, "title");
    shots.child(TCommand::WallProperties, "wall_properties");
    shots.table(form.Document().Tables().PileSect, "wall_stiffness", QSize(900, 240));
    shots.child(TCommand::WallConfiguration, "wall_configuration");
    shots.child(TCommand::SoilLayers, "soil_layers", QSize(640, 300));
    if (auto* nested = form.Document().Tables().NewSoil.Column(2).TableAt(0))
        shots.table(*nested, "soil_layer_parameters", QSize(900, 300));

    form.CommandAction(TCommand::RunAnalysis)->trigger();
    if (!form.Document().ResultsAvailable()) {
        std::fprintf(stderr, "guide_shots: the run gave no results\n");
        return 1;
    }
    shots.menu("ComputationMenu", "computation_menu");
    // The main window as it looks after a run, a graph inside it.
    form.CommandAction(TCommand::GraphDeflection)->trigger();
    QTest::qWait(200);
    if (QMdiSubWindow* graph = form.MdiArea()->activeSubWindow()) {
        graph->showNormal();
        graph->setGeometry(20, 10, 560, 520);
    }
    shots.window("after_run");
    form.MdiArea()->closeAllSubWindows();
    shots.menu("GraphicsMenu", "graphics_menu");
    shots.child(TCommand::GraphDeflection, "graph_deflection", QSize(760, 560));
    shots.child(TCommand::GraphDMS, "graph_dms", QSize(900, 560));
    shots.child(TCommand::ViewWallGeometry, "side_view", QSize(700, 560));
    shots.child(TCommand::ResultsSummary, "results_summary", QSize(800, 400));
    shots.child(TCommand::NodeTables, "node_tables", QSize(900, 460));
    shots.child(TCommand::GraphMobilised, "graph_mobilised", QSize(760, 560));
    // Turned a little, so that it looks three-dimensional.
    shots.child(TCommand::View3D, "view_3d", QSize(760, 560), true, [](QWidget* widget) {
        if (auto* view = qobject_cast<app::results::TDlgBlock*>(widget)) {
            view->Gl()->Camera().RX = 20;
            view->Gl()->Camera().RZ = -35;
            view->Gl()->update();
        }
    });
    // The design window's three pages, each computed.
    const std::pair<const char*, const char*> designPages[] = {{"DesignCompute", "design_limit_equilibrium"},
                                                               {"SweepRun", "design_sweep"},
                                                               {"SectionCheck", "design_sections"}};
    for (int page = 0; page < 3; ++page) {
        form.findChild<QAction*>(QStringLiteral("Design%1").arg(page))->trigger();
        QTest::qWait(200);
        QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
        if (!window) {
            ++shots.failed;
            continue;
        }
        window->resize(QSize(980, 560));
        if (auto* button =
                window->widget()->findChild<QPushButton*>(QString::fromLatin1(designPages[page].first)))
            button->click();
        QTest::qWait(300);
        // The graph narrower than the window would make it, so that the table's columns show whole.
        for (QWidget* child : window->widget()->findChildren<QWidget*>())
            if (dynamic_cast<app::ui::TDesignGraph*>(child)) child->setMaximumWidth(380);
        app::ui::shots::FitTables(*window, 1250);
        QTest::qWait(100);
        shots.save(window->grab(), designPages[page].second);
    }
    form.MdiArea()->closeAllSubWindows();
    std::printf("saved %d pictures in %s\n", shots.saved, qPrintable(out.path()));
    return shots.failed == 0 ? 0 : 1;
}
