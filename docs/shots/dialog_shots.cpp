// Pictures of every data dialog and table editor on an example, for a person to look at.
// Usage: dialog_shots OUTPUT_FOLDER (under a display server such as xvfb-run, or offscreen).

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
using app::ui::shots::FitTables;
using app::ui::shots::MakeForm;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir folder;
    const QString file = CopyExample(folder, QStringLiteral("anchored_tieback_trapezoidal.dn5d"));

    const std::unique_ptr<app::ui::TMainForm> mainWindow = MakeForm(folder);
    app::ui::TMainForm& form = *mainWindow;
    form.resize(1200, 860);
    form.OpenFromCommandLine(file);
    auto& model = form.Document().Model();
    // Every option on, so every item of the Data menu leads somewhere.
    if (!model.ApplyConcentratedLoads) model.ToggleConcentratedLoads();
    if (!model.ApplySprings) model.ToggleSprings();
    if (!model.ApplyExternalPY) model.ToggleExternalPY();
    if (!model.ApplyPYModification) model.TogglePYModification();
    if (!model.ApplyMomentEI) model.ToggleMomentEI();
    if (!model.ApplyRestraints) model.ToggleRestraints();
    if (!model.ApplySurcharge) model.ToggleSurcharge();
    form.RefreshCommands();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    using app::model::TCommand;
    const std::pair<TCommand, const char*> items[] = {
        {TCommand::Title, "title"},
        {TCommand::WallProperties, "wall_properties"},
        {TCommand::WallConfiguration, "wall_configuration"},
        {TCommand::SoilLayers, "soil_layers"},
        {TCommand::Surcharge, "surcharge"},
        {TCommand::ConcentratedLoads, "concentrated_loads"},
        {TCommand::Tiebacks, "tiebacks"},
        {TCommand::Restraints, "restraints"},
        {TCommand::PYModification, "py_modification"},
        {TCommand::ExternalPY, "external_py"},
        {TCommand::Springs, "springs"},
        {TCommand::MomentEI, "moment_ei"},
    };
    // The text-editor option is reached from the Options menu.
    if (QAction* option = form.findChild<QAction*>(QStringLiteral("OptionTextEditor"))) {
        option->trigger();
        QTest::qWait(100);
        if (QMdiSubWindow* window = form.MdiArea()->activeSubWindow()) {
            window->resize(window->sizeHint());
            QTest::qWait(50);
            window->grab().save(out.filePath(QStringLiteral("control_options.png")));
        }
        form.MdiArea()->closeAllSubWindows();
    }
    int saved = 0;
    for (const auto& [command, name] : items) {
        form.CommandAction(command)->trigger();
        QTest::qWait(100);
        QMdiSubWindow* window = form.MdiArea()->activeSubWindow();
        if (!window) {
            std::fprintf(stderr, "%s: no window\n", name);
            continue;
        }
        window->resize(window->sizeHint().expandedTo(QSize(520, 300)));
        QTest::qWait(50);
        FitTables(*window, 1300);
        QTest::qWait(50);
        if (window->grab().save(out.filePath(QString::fromLatin1(name) + QStringLiteral(".png")))) ++saved;
        // The first nested table of the soil layers and the first curve set too.
        if (command == TCommand::SoilLayers || command == TCommand::ExternalPY) {
            auto& table = command == TCommand::SoilLayers
                              ? static_cast<app::model::TGridTable&>(form.Document().Tables().NewSoil)
                              : form.Document().Tables().PYCurves2;
            const int column = command == TCommand::SoilLayers ? 2 : 1;
            if (auto* nested = table.Column(column).TableAt(0)) {
                nested->ShowEditor();
                QTest::qWait(100);
                if (QMdiSubWindow* inner = form.MdiArea()->activeSubWindow()) {
                    inner->resize(inner->sizeHint().expandedTo(QSize(520, 300)));
                    QTest::qWait(50);
                    FitTables(*inner, 1300);
                    QTest::qWait(50);
                    if (inner->grab().save(
                            out.filePath(QString::fromLatin1(name) + QStringLiteral("_nested.png"))))
                        ++saved;
                }
            }
        }
        form.MdiArea()->closeAllSubWindows();
    }
    // The tables the dialogs lead to, and the distributed pressure.
    auto& tables = form.Document().Tables();
    const std::pair<app::model::TGridTable*, const char*> linked[] = {
        {&tables.PileSect, "table_wall_stiffness"},      {&tables.SurchargeTable, "table_surcharge"},
        {&tables.BoundCond, "table_concentrated_loads"}, {&tables.SoilStrength, "table_springs"},
        {&tables.TiebackTable1, "table_tiebacks"},       {&tables.DistLoad, "table_distributed_load"}};
    for (const auto& [table, name] : linked) {
        table->ShowEditor();
        QTest::qWait(100);
        if (QMdiSubWindow* window = form.MdiArea()->activeSubWindow()) {
            window->resize(window->sizeHint().expandedTo(QSize(520, 300)));
            QTest::qWait(50);
            FitTables(*window, 1300);
            QTest::qWait(50);
            if (window->grab().save(out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"))))
                ++saved;
        }
        form.MdiArea()->closeAllSubWindows();
    }
    std::printf("saved %d pictures in %s\n", saved, qPrintable(out.path()));
    return saved >= 18 ? 0 : 1;
}
