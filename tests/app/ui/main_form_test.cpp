// The main window driven through its own menus and buttons, with the boxes and file dialogs scripted.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/model/data_file.h"
#include "app/model/run_files.h"
#include "app/model/run_outcome.h"
#include "app/model/stages.h"
#include "app/model/units.h"
#include "app/results/export/dlg_export.h"
#include "app/results/graph/plot_form.h"
#include "app/results/summary/summary_window.h"
#include "app/results/views/section_window.h"
#include "app/ui/design/design_window.h"
#include "app/ui/dialogs/dlg_staged.h"
#include "app/ui/dialogs/text_viewer.h"
#include "app/ui/main_form.h"
#include "app/ui/settings_store.h"
#include "ui_test_support.h"

using namespace app::ui;
using app::model::TCommand;
using app::model::TPromptAnswer;

namespace {

using namespace app::ui::testsupport;

void runStagedDialog(Program& p, const std::function<void(TDlgStaged*)>& edit) {
    onNextModal([edit](QWidget* modal) {
        auto* dialog = qobject_cast<TDlgStaged*>(modal);
        QVERIFY(dialog);
        edit(dialog);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    p.trigger(TCommand::Staged);
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QList<QAction*> allActions(QWidget* root) {
    QList<QAction*> found;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->isSeparator()) continue;
            if (QMenu* menu = action->menu()) {
                emit menu->aboutToShow();  // the rules run as when the menu opens
                walk(menu->actions());
            } else if (!found.contains(action)) {
                found << action;
            }
        }
    };
    if (auto* window = qobject_cast<QMainWindow*>(root)) {
        walk(window->menuBar()->actions());
        for (QToolBar* bar : window->findChildren<QToolBar*>())
            walk(bar->actions());
    }
    return found;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void eachExampleOpensRunsAndEnablesResults();
    void saveWritesTheProblemAsEdited();
    void newProblemRunWithSaveAsCancelledDoesNothing();
    void missingEngineAndEngineWithoutEntry();
    void engineFailuresLeaveTheProgramUsable();
    void anExampleInAReadOnlyFolderRunsFromACopy();
    void aStagedExampleInAReadOnlyFolderKeepsItsStageFilesAside();
    void recentFilesOrderAndTheEleventhFile();
    void longTermMenuLayout();
    void earthPressureChoiceEnablesDistributedPressure();
    void stageCountThroughTheDialog();
    void everyCommandOnANewProblemAndOnEachExample();
    void textEditorGetsTheFile();
    void runWarningOpensTheReportViewer();
    void outOfDateResultsSaySoAndAskBeforePrinting();
    void unreadableFileAndCommandLine();
    void droppedFileIsOpened();
    void exitWithUnsavedChangesAsksFirst();
    void helpFilesUpdateCheckAndAbout();
    void keyboardReachesTheMenus();
    void exportFromTheGraphicsMenu();
    void summaryAfterEveryRunAndNodeTables();
    void designMenuLimitEquilibriumSweepAndSections();
    void calculationReportAndSectionDrawing();
};

void MainFormTest::eachExampleOpensRunsAndEnablesResults() {
    QTemporaryDir folder;
    for (const QString& name : exampleNames()) {
        Program p;
        const QString file = copyExample(folder, name);
        p.open(file);
        QCOMPARE(p.lastMessage(), QString::fromStdString(app::model::ReadMessage(file.toStdString())));
        QCOMPARE(p.form->windowTitle(), QString::fromStdString(app::model::WindowTitle(file.toStdString())));
        p.dialogs->messages.clear();
        p.trigger(TCommand::RunAnalysis);
        QVERIFY2(p.dialogs->messages.size() == 1, qPrintable(name + ": " + p.dialogs->messages.join(" | ")));
        QCOMPARE(p.lastMessage(), QString::fromLatin1(app::session::kCompletedMessage));
        QVERIFY2(p.form->Document().ResultsAvailable(), qPrintable(name));
        for (TCommand c : {TCommand::GraphDeflection, TCommand::GraphMoment, TCommand::GraphShear,
                           TCommand::GraphDMS, TCommand::ViewWallGeometry, TCommand::EditOutputText,
                           TCommand::EditRunNotes, TCommand::ExportPlots})
            QVERIFY2(p.action(c)->isEnabled(), qPrintable(name + " " + p.action(c)->text()));
        const auto& model = p.form->Document().Model();
        const auto& plots = p.form->Document().Plots();
        const int cases = model.StageCount > 1 ? model.StageCount : model.LongTerm ? 2 : 1;
        QCOMPARE(plots.pltDef.LineCount(), cases);
        // The curves run from the top to the tip: nodes 0 to NI, not the station below the tip.
        QCOMPARE(plots.pltDef.PointCount(), model.IncrementCount + 1);
        QCOMPARE(static_cast<double>(plots.pltDef.Line(0).Points.back().Y),
                 static_cast<double>(model.IncrementCount * model.IncrementLength /
                                     app::model::LengthScale(model.UnitSystem())));
        QVERIFY(
            !QFile::exists(QDir(QStringLiteral(DRENOK_ENGINE_DIR)).filePath(QStringLiteral("names.dat"))));
        if (model.StageCount > 1) {
            QVERIFY(p.action(TCommand::Stage2)->isVisible());
            QCOMPARE(p.form->StatusText(), QStringLiteral("Construction Stage Number: 1"));
        }
    }
}

void MainFormTest::saveWritesTheProblemAsEdited() {
    QTemporaryDir folder;
    Program p;
    const QString file = copyExample(folder, QStringLiteral("sand_cantilever_triangular.dn5d"));
    p.open(file);
    QVERIFY(!p.form->Document().IsChanged());
    p.trigger(TCommand::UnitsSI);
    p.trigger(TCommand::ApplyConcentratedLoads);
    QVERIFY(p.form->Document().IsChanged());
    QVERIFY(p.action(TCommand::UnitsSI)->isChecked());
    p.named("FileSave")->trigger();
    QVERIFY(!p.form->Document().IsChanged());
    QVERIFY(p.dialogs->saveTitles.isEmpty());  // a current file saves in place

    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables(plain, chart);
    app::model::TProgramData reread(tables);
    app::model::CreateFromFile(reread, file.toStdString(), app::model::TDataFileFormat::Current);
    QCOMPARE(reread.UnitSystem(), 2);
    QCOMPARE(reread.Title, p.form->Document().Model().Title);
    const QStringList lines = readText(file).split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines[1].split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts).value(0),
             QStringLiteral("2"));

    // Save As to a new name: the title and the recent list follow.
    const QString other = folder.filePath(QStringLiteral("copy.dn5d"));
    p.dialogs->saves.push_back(other.toStdString());
    p.named("FileSaveAs")->trigger();
    QCOMPARE(p.dialogs->saveTitles.value(0), QStringLiteral("Save Sand_cantilever_triangular.dn5d As"));
    QCOMPARE(readText(other), readText(file));
    QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - Copy.dn5d"));
    QCOMPARE(QString::fromStdString(p.form->Document().RecentFiles().Entries().front()), other);
}

void MainFormTest::newProblemRunWithSaveAsCancelledDoesNothing() {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    Program p;
    p.named("FileNew")->trigger();
    QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - NewWall.dn5d"));
    p.trigger(TCommand::RunAnalysis);
    QCOMPARE(p.dialogs->saveTitles, QStringList{QStringLiteral("Save NewWall.dn5d As")});
    QVERIFY(p.dialogs->messages.isEmpty());
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(!p.form->Document().ResultsAvailable());
    QVERIFY(!p.action(TCommand::GraphDeflection)->isEnabled());
    QVERIFY(!p.action(TCommand::EditInputText)->isEnabled());
}

void MainFormTest::missingEngineAndEngineWithoutEntry() {
    QTemporaryDir folder;
    QTemporaryDir empty;
    for (const QString& programFolder : {empty.path(), QStringLiteral(DRENOK_NO_ENTRY_DIR)}) {
        Program p(programFolder);
        const QString file = copyExample(folder, QStringLiteral("cantilever_check.dn5d"));
        p.open(file);
        p.trigger(TCommand::RunAnalysis);
        const QString message = p.lastMessage();
        QVERIFY2(message.startsWith(QString::fromLatin1(app::session::kInitializeFailedMessage) +
                                    QStringLiteral("\n\n")),
                 qPrintable(message));
        QVERIFY2(message.contains(QDir(programFolder).filePath(QStringLiteral("libDrenok2015_DLL.so"))),
                 qPrintable(message));
        QVERIFY(!QFile::exists(QString::fromStdString(
            app::model::RunFilePath(file.toStdString(), app::model::kReportExtension))));
        QVERIFY(!p.form->Document().ResultsAvailable());
        QVERIFY(!p.form->Document().Runner().IsRunning());
    }
}

// An installed example cannot be written beside: the run saves it elsewhere first, or does not run.
void MainFormTest::anExampleInAReadOnlyFolderRunsFromACopy() {
    QTemporaryDir installed, mine;
    Program p;
    const QString example = copyExample(installed, QStringLiteral("generated_sand.dn5d"));
    p.dialogs->readOnly << QDir(installed.path()).absolutePath();
    p.open(example);
    const QStringList before = QDir(installed.path()).entryList(QDir::Files);

    p.dialogs->messages.clear();
    p.trigger(TCommand::RunAnalysis);  // Save As cancelled
    QCOMPARE(p.dialogs->saveInitials.size(), 1);
    QCOMPARE(QFileInfo(p.dialogs->saveInitials.last()).absolutePath(), QDir::homePath());
    QVERIFY(p.dialogs->messages.isEmpty());
    QVERIFY(!p.form->Document().ResultsAvailable());

    const QString copy = mine.filePath(QStringLiteral("sand.dn5d"));
    p.dialogs->saves.push_back(copy.toStdString());
    p.trigger(TCommand::RunAnalysis);
    QCOMPARE(QString::fromStdString(p.form->Document().Model().FileName), copy);
    QVERIFY(p.form->Document().ResultsAvailable());
    QVERIFY(QFile::exists(mine.filePath(QStringLiteral("sand.dn5o"))));
    QCOMPARE(QDir(installed.path()).entryList(QDir::Files), before);
}

// A staged example there too: its stage files are kept aside, and move beside the copy it is saved as.
void MainFormTest::aStagedExampleInAReadOnlyFolderKeepsItsStageFilesAside() {
    QTemporaryDir installed, mine;
    Program p;
    const QString example = copyExample(installed, QStringLiteral("three_stages.dn5d"));
    p.dialogs->readOnly << QDir(installed.path()).absolutePath();
    p.open(example);
    QCOMPARE(p.form->Document().Model().StageCount, 3);
    p.trigger(TCommand::Stage2);
    QCOMPARE(p.form->Document().Model().CurrentStage, 2);
    QCOMPARE(QDir(installed.path()).entryList(QDir::Files), QStringList{QStringLiteral("three_stages.dn5d")});

    const QString copy = mine.filePath(QStringLiteral("stages.dn5d"));
    p.dialogs->saves.push_back(copy.toStdString());
    p.trigger(TCommand::RunAnalysis);
    QVERIFY(p.form->Document().ResultsAvailable());
    for (const char* name : {"stages.dn5d", "stages.st1", "stages.st2", "stages.st3", "stages.dn5o"})
        QVERIFY2(QFile::exists(mine.filePath(QString::fromLatin1(name))), name);
    QCOMPARE(QDir(installed.path()).entryList(QDir::Files), QStringList{QStringLiteral("three_stages.dn5d")});
}

void MainFormTest::engineFailuresLeaveTheProgramUsable() {
    QTemporaryDir folder;
    Program p(QStringLiteral(DRENOK_FAKE_ENGINE_DIR));
    const QString file = folder.filePath(QStringLiteral("fake.dn5d"));
    p.dialogs->saves.push_back(file.toStdString());
    p.named("FileSaveAs")->trigger();
    // A wall the checks before a run let through: ten increments, stiffness at every node.
    auto& model = p.form->Document().Model();
    model.SetIncrementCount(10);
    model.IncrementLength = 12.0L;
    model.Tables().PileSect.Cell(3, 0).SetFloat(1e9L);
    model.Tables().NewSoil.Cell(1, 0).SetFloat(20.0L);  // [ft], below the 10 ft wall
    // The stand-in engine acts on the data file's first line, which is the problem's title.
    const std::pair<const char*, QStringList> cases[] = {
        {"throw", {QString::fromLatin1(app::model::kResultsReadErrorMessage)}},
        {"mismatch", {QString::fromLatin1(app::session::kInconsistentMessage)}},
        {"noreport", {QString::fromLatin1(app::model::kNoRunReportMessage)}},
        {"ok",
         {QString::fromLatin1(app::session::kCompletedMessage),
          QString::fromLatin1(app::model::kResultsReadErrorMessage)}},
    };
    for (const auto& [title, expected] : cases) {
        p.form->Document().Model().Title = title;
        p.dialogs->messages.clear();
        // Outputs of an earlier run lie beside the file: they must not pass for this run's.
        for (const char* extension : {app::model::kReportExtension, app::model::kPlotDataExtension}) {
            QFile stale(QString::fromStdString(app::model::RunFilePath(file.toStdString(), extension)));
            QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
            stale.write("from an earlier run\n");
        }
        p.trigger(TCommand::RunAnalysis);
        QCOMPARE(p.dialogs->messages, expected);
        QVERIFY(!p.form->Document().ResultsAvailable());
        QVERIFY(!p.action(TCommand::GraphDeflection)->isEnabled());
        QVERIFY(!p.form->Document().Runner().IsRunning());
    }
    p.named("FileNew")->trigger();
    QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - NewWall.dn5d"));
}

void MainFormTest::recentFilesOrderAndTheEleventhFile() {
    QTemporaryDir folder;
    Program p;
    QStringList files;
    for (int k = 1; k <= 11; ++k)
        files << copyExample(folder, QStringLiteral("generated_sand.dn5d"),
                             QStringLiteral("w%1.dn5d").arg(k));
    for (const QString& file : files)
        p.open(file);
    auto* fileMenu = p.form->findChild<QMenu*>(QStringLiteral("FileMenu"));
    QVERIFY(fileMenu);
    emit fileMenu->aboutToShow();
    // The current folder is the files' folder, so the captions show bare names.
    QCOMPARE(p.named("Recent1")->text(), QStringLiteral("&1 w11.dn5d"));
    QCOMPARE(p.named("Recent2")->text(), QStringLiteral("&2 w10.dn5d"));
    QCOMPARE(p.named("Recent10")->text(), QStringLiteral("1&0 w2.dn5d"));
    QVERIFY(p.named("Recent10")->isVisible());
    QSettings ini(p.settingsFile, QSettings::IniFormat);
    ini.beginGroup(QString::fromLatin1(kSettingsKeyPath));
    QCOMPARE(ini.value(QStringLiteral("File1")).toString(), files[10]);
    QCOMPARE(ini.value(QStringLiteral("File10")).toString(), files[1]);

    p.open(files[4]);  // opened again: moves up, nothing dropped
    emit fileMenu->aboutToShow();
    QCOMPARE(p.named("Recent1")->text(), QStringLiteral("&1 w5.dn5d"));
    QCOMPARE(p.named("Recent10")->text(), QStringLiteral("1&0 w2.dn5d"));
    p.named("Recent3")->trigger();  // w10
    QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - W10.dn5d"));

    // A new program reads the list back.
    p.form.reset();
    TSettingsStore store(p.settingsFile);
    TSettingsValues values;
    QVERIFY(store.Read(values));
    QCOMPARE(QString::fromStdString(values.Files[0]), files[9]);
}

void MainFormTest::longTermMenuLayout() {
    Program p;
    QVERIFY(p.action(TCommand::SoilLayers)->isVisible());
    p.trigger(TCommand::LongTerm);
    QVERIFY(p.action(TCommand::LongTerm)->isChecked());
    QVERIFY(!p.action(TCommand::SoilLayers)->isVisible());
    QVERIFY(p.action(TCommand::SoilLayersShort)->isVisible());
    QVERIFY(p.action(TCommand::SoilLayersLong)->isVisible());
    QVERIFY(p.action(TCommand::DistributedShort)->isVisible());
    QVERIFY(!p.action(TCommand::DistributedPressure)->isVisible());
    QVERIFY(!p.action(TCommand::Staged)->isEnabled());
    QVERIFY(!p.action(TCommand::StagedButton)->isEnabled());
    QVERIFY(!p.action(TCommand::SoilLayersButton)->isEnabled());
    QVERIFY(p.form->Document().IsChanged());
    p.trigger(TCommand::LongTerm);
    QVERIFY(p.action(TCommand::SoilLayers)->isVisible());
    QVERIFY(!p.action(TCommand::SoilLayersShort)->isVisible());
    QVERIFY(p.action(TCommand::StagedButton)->isEnabled());
}

void MainFormTest::earthPressureChoiceEnablesDistributedPressure() {
    Program p;
    QVERIFY(!p.action(TCommand::DistributedPressure)->isEnabled());
    p.trigger(TCommand::EarthPressureUser);
    QVERIFY(p.action(TCommand::DistributedPressure)->isEnabled());
    QVERIFY(p.action(TCommand::EarthPressureUser)->isChecked());
    p.trigger(TCommand::EarthPressureTrapezoidal);
    QVERIFY(!p.action(TCommand::DistributedPressure)->isEnabled());
    QVERIFY(p.action(TCommand::EarthPressureTrapezoidal)->isChecked());
    QVERIFY(!p.action(TCommand::EarthPressureUser)->isChecked());
    QCOMPARE(p.form->Document().Model().EarthPressureChoice, 3);
}

void MainFormTest::stageCountThroughTheDialog() {
    QTemporaryDir folder;
    Program p;
    const QString file = folder.filePath(QStringLiteral("staged.dn5d"));
    p.dialogs->saves.push_back(file.toStdString());
    p.named("FileSaveAs")->trigger();
    QVERIFY(QFile::exists(file));

    runStagedDialog(p, [](TDlgStaged* dialog) {
        QVERIFY(!dialog->CountBox()->isEnabled());
        dialog->StagedCheck()->click();
        QCOMPARE(dialog->CountBox()->value(), 2);  // ticking offers two stages
        dialog->CountBox()->stepBy(1);
        QCOMPARE(dialog->CountBox()->value(), 3);
    });
    const auto& model = p.form->Document().Model();
    QCOMPARE(model.StageCount, 3);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(
            QFile::exists(QString::fromStdString(app::model::StageFilePath(file.toStdString(), n).string())));
    QVERIFY(p.action(TCommand::Stage3)->isVisible() && p.action(TCommand::Stage3)->isEnabled());
    QVERIFY(!p.action(TCommand::Stage4)->isEnabled());
    QVERIFY(p.action(TCommand::Staged)->isChecked());
    QVERIFY(!p.action(TCommand::LongTerm)->isEnabled());
    QCOMPARE(p.form->StatusText(), QStringLiteral("Construction Stage Number: 1"));

    p.trigger(TCommand::Stage2);
    QCOMPARE(model.CurrentStage, 2);
    QVERIFY(p.action(TCommand::Stage2)->isChecked());
    QVERIFY(!p.action(TCommand::Stage1)->isChecked());
    QVERIFY(p.action(TCommand::CopyPreviousStage)->isEnabled());
    QCOMPARE(p.form->StatusText(), QStringLiteral("Construction Stage Number: 2"));
    p.trigger(TCommand::CopyPreviousStage);
    QVERIFY(p.dialogs->questions.last().startsWith(
        QStringLiteral("Do you want to copy all information from Stage 1")));

    // Saving joins the stages into the data file.
    p.named("FileSave")->trigger();
    QCOMPARE(readText(file).count(QStringLiteral(" Stage No :")), 2);

    runStagedDialog(p, [](TDlgStaged* dialog) {
        QVERIFY(dialog->StagedCheck()->isChecked());
        QCOMPARE(dialog->CountBox()->value(), 3);
        dialog->StagedCheck()->click();
        QCOMPARE(dialog->CountBox()->value(), 1);
        QVERIFY(!dialog->CountBox()->isEnabled());
    });
    QCOMPARE(model.StageCount, 1);
    QCOMPARE(model.CurrentStage, 1);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(!QFile::exists(
            QString::fromStdString(app::model::StageFilePath(file.toStdString(), n).string())));
    QVERIFY(!p.action(TCommand::Stage1)->isVisible());
    QVERIFY(p.form->StatusText().isEmpty());
    QVERIFY(p.form->Document().IsChanged());  // the file on disk still holds three stages
}

void MainFormTest::everyCommandOnANewProblemAndOnEachExample() {
    QTemporaryDir folder;
    QStringList problems{QString()};
    problems << exampleNames();
    // Any box or dialog a command opens is closed again at once.
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<TDlgStaged*>(top); dialog && dialog->isVisible())
                dialog->reject();
    });
    closer.start(5);
    for (const QString& name : problems) {
        Program p;
        p.form->show();
        if (!name.isEmpty()) {
            const QString file = copyExample(folder, name);
            p.open(file);
            p.trigger(TCommand::RunAnalysis);
        }
        int triggered = 0;
        for (QAction* action : allActions(p.form.get())) {
            if (action->objectName() == QStringLiteral("FileExit")) continue;
            if (!action->isEnabled() || !action->isVisible()) continue;
            p.dialogs->saves.push_back(folder.filePath(QStringLiteral("saved.dn5d")).toStdString());
            action->trigger();
            ++triggered;
        }
        QVERIFY2(triggered > 40, qPrintable(QStringLiteral("%1: %2 commands").arg(name).arg(triggered)));
        // Still alive and answering: the exit asks, a Cancel keeps the window.
        p.dialogs->answers = {TPromptAnswer::Cancel};
        p.form->Document().SetChanged();
        p.named("FileExit")->trigger();
        QVERIFY(p.form->isVisible());
        p.dialogs->answers = {TPromptAnswer::No};
        p.named("FileNew")->trigger();
        QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - NewWall.dn5d"));
    }
}

void MainFormTest::textEditorGetsTheFile() {
    QTemporaryDir folder;
    const QString record = folder.filePath(QStringLiteral("editor-args.txt"));
    const QString editor = folder.filePath(QStringLiteral("editor.sh"));
    {
        QFile script(editor);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\n").arg(record).toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    Program p(QStringLiteral(DRENOK_ENGINE_DIR),
              [&](QSettings& ini) { ini.setValue(QString::fromLatin1(kWordProcessorValue), editor); });
    QCOMPARE(p.form->WordProcessor(), editor);
    const QString file =
        copyExample(folder, QStringLiteral("generated_silt.dn5d"), QStringLiteral("wall with blanks.dn5d"));
    p.open(file);
    p.trigger(TCommand::RunAnalysis);
    p.trigger(TCommand::EditInputText);
    p.trigger(TCommand::ViewOutputButton);
    QTRY_COMPARE(readText(record).count(QLatin1Char('\n')), 2);
    const QString report =
        QString::fromStdString(app::model::RunFilePath(file.toStdString(), app::model::kReportExtension));
    QCOMPARE(readText(record).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);  // one argument each
    QVERIFY(readText(record).split(QLatin1Char('\n')).contains(file));
    QVERIFY(readText(record).split(QLatin1Char('\n')).contains(report));

    Program broken(QStringLiteral(DRENOK_ENGINE_DIR), [](QSettings& ini) {
        ini.setValue(QString::fromLatin1(kWordProcessorValue), QStringLiteral("/nonexistent/editor"));
    });
    broken.open(file);
    broken.trigger(TCommand::EditInputText);
    QCOMPARE(broken.lastMessage(), QString::fromLatin1(app::session::kEditorFailedMessage));
}

void MainFormTest::runWarningOpensTheReportViewer() {
    QTemporaryDir folder;
    Program p(QStringLiteral(DRENOK_ENGINE_DIR),
              [](QSettings& ini) { ini.setValue(QString::fromLatin1(kWordProcessorValue), QString()); });
    const QString file =
        copyExample(folder, QStringLiteral("cantilever_check.dn5d"), QStringLiteral("w.dn5d"));
    p.open(file);
    p.form->Document().Model().MaxDeflection = 10.0L;  // the top deflects 21.3 in
    p.form->Document().SetChanged();
    p.dialogs->messages.clear();
    p.dialogs->openReport = true;
    p.trigger(TCommand::RunAnalysis);
    QVERIFY2(p.dialogs->messages.isEmpty(), qPrintable(p.dialogs->messages.join(" | ")));
    QCOMPARE(p.dialogs->warnings.size(), 1);
    QVERIFY(p.dialogs->warnings[0].contains(QStringLiteral("maximum allowable deflection was exceeded")));

    // No editor is set: the report opens inside the program, on its first warning.
    auto* viewer = p.form->findChild<TTextViewer*>();
    QVERIFY(viewer);
    QVERIFY(viewer->windowTitle().contains(QStringLiteral("w.dn5o")));
    QVERIFY(viewer->Text()->isReadOnly());
    QCOMPARE(viewer->Text()->textCursor().selectedText(),
             QStringLiteral("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  15  *** STATIONS *****"));
    QVERIFY(viewer->Find(QStringLiteral("END OF ANALYSIS")));
    QVERIFY(!viewer->Find(QStringLiteral("no such words in a report")));
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p.form->findChild<TTextViewer*>());

    // Edit Processor-Run Notes shows the notes the same way.
    p.trigger(TCommand::EditRunNotes);
    QTRY_VERIFY(p.form->findChild<TTextViewer*>());
    QVERIFY(p.form->findChild<TTextViewer*>()->Text()->toPlainText().contains(
        QStringLiteral("ITERATION MONITOR")));
}

void MainFormTest::outOfDateResultsSaySoAndAskBeforePrinting() {
    QTemporaryDir folder;
    Program p;
    p.open(copyExample(folder, QStringLiteral("generated_sand.dn5d"), QStringLiteral("w.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    p.trigger(TCommand::GraphDeflection);
    auto* graph = qobject_cast<app::results::TPlotForm*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(graph);
    (void)graph->grab();
    QCOMPARE(graph->windowTitle(), QStringLiteral("Deflection vs Depth"));

    // An edit in a table, then any command: the graph says its results are out of date.
    p.form->Document().Tables().NewSoil.Cell(1, 1).SetFloat(60.0L);
    p.form->RefreshCommands();
    (void)graph->grab();
    QVERIFY2(graph->windowTitle().contains(QString::fromUtf8(app::model::kOutOfDateNotice)),
             qPrintable(graph->windowTitle()));
    p.dialogs->yesNo = false;
    p.dialogs->questions.clear();
    graph->Print();  // answered No: no print dialog follows
    QCOMPARE(p.dialogs->questions.size(), 1);
    QVERIFY(p.dialogs->questions[0].contains(QStringLiteral("out of date")));

    p.trigger(TCommand::RunAnalysis);  // closes the result windows and reads current results
    QVERIFY(p.form->Document().Plots().pltDef.Notice.empty());
}

void MainFormTest::unreadableFileAndCommandLine() {
    QTemporaryDir folder;
    const QString bad = folder.filePath(QStringLiteral("bad.dn5d"));
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("A wall\n1 0 x\n");
    }
    Program p;
    p.open(bad);
    QVERIFY2(p.lastMessage().startsWith(QStringLiteral("Error on Line 2")), qPrintable(p.lastMessage()));
    QCOMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - NewWall.dn5d"));
    QCOMPARE(p.form->Document().Model().Title, std::string("New Wall"));
    p.trigger(TCommand::RunAnalysis);  // a new problem: Save As is asked, and cancelled
    QCOMPARE(p.dialogs->saveTitles.size(), 1);

    const QString good = copyExample(folder, QStringLiteral("short_long_term.dn5d"));
    Program q;
    q.form->OpenFromCommandLine(good);
    QVERIFY(q.dialogs->messages.isEmpty());  // opening from the command line says nothing
    QCOMPARE(q.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - Short_long_term.dn5d"));
    QVERIFY(q.action(TCommand::SoilLayersShort)->isVisible());
    q.form->OpenFromCommandLine(folder.filePath(QStringLiteral("absent")));  // looked for as absent.dn4d
    QVERIFY(q.dialogs->messages.isEmpty());
    // A name that is not UTF-8 opens byte for byte.
    const std::string raw = folder.path().toStdString() + "/wall-\xff\xfe.dn5d";
    std::filesystem::copy_file(good.toStdString(), raw);
    Program u;
    u.form->OpenFromCommandLineBytes(raw);
    QCOMPARE(u.form->Document().Model().FileName, raw);
    QVERIFY(u.action(TCommand::SoilLayersShort)->isVisible());
    Program r;
    r.form->OpenFromCommandLine(bad);
    QVERIFY(r.lastMessage().startsWith(QStringLiteral("Error on Line 2")));
    QCOMPARE(r.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - NewWall.dn5d"));
}

void MainFormTest::droppedFileIsOpened() {
    QTemporaryDir folder;
    const QString file = copyExample(folder, QStringLiteral("generated_soft_clay.dn5d"));
    Program p;
    p.form->show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p.form.get(), &drop);
    QTRY_COMPARE(p.form->windowTitle(), QStringLiteral("DRENOK 2015.5.2 - Generated_soft_clay.dn5d"));
    QCOMPARE(p.lastMessage(), QString::fromStdString(app::model::ReadMessage(file.toStdString())));
}

void MainFormTest::exitWithUnsavedChangesAsksFirst() {
    QTemporaryDir folder;
    Program p;
    p.form->show();
    p.trigger(TCommand::ApplySprings);
    p.dialogs->answers = {TPromptAnswer::Cancel};
    QVERIFY(!p.form->close());
    QVERIFY(p.form->isVisible());
    QCOMPARE(p.dialogs->questions.last(), QString::fromLatin1(app::model::kSaveQuestion));
    // Yes with a cancelled Save As cancels the exit too.
    p.dialogs->answers = {TPromptAnswer::Yes};
    QVERIFY(!p.form->close());
    // Yes and a name: saved, then closed, and the settings written.
    const QString file = folder.filePath(QStringLiteral("kept.dn5d"));
    p.dialogs->answers = {TPromptAnswer::Yes};
    p.dialogs->saves.push_back(file.toStdString());
    QVERIFY(p.form->close());
    QVERIFY(QFile::exists(file));
    QSettings ini(p.settingsFile, QSettings::IniFormat);
    ini.beginGroup(QString::fromLatin1(kSettingsKeyPath));
    QCOMPARE(ini.value(QStringLiteral("File1")).toString(), file);
    QCOMPARE(ini.value(QString::fromLatin1(kWordProcessorValue)).toString(), QStringLiteral("/bin/true"));
}

void MainFormTest::helpFilesUpdateCheckAndAbout() {
    QTemporaryDir program;
    Program p(program.path());
    p.named("HelpContents")->trigger();
    QVERIFY(p.lastMessage().contains(QStringLiteral("DRENOK_2015.html")));
    QVERIFY(p.dialogs->documents.isEmpty());
    for (const char* name : {kContentsFile, kUsersManualFile, kTechnicalManualFile}) {
        QFile file(QDir(program.path()).filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    p.named("HelpContents")->trigger();
    p.named("HelpUsersManual")->trigger();
    p.named("HelpTechnicalManual")->trigger();
    QCOMPARE(p.dialogs->documents.size(), 3);
    QCOMPARE(p.dialogs->documents[1],
             QDir(program.path()).filePath(QStringLiteral("DRENOK 2015 Users Manual.pdf")));

    p.named("HelpUpdates")->trigger();
    QVERIFY(p.lastMessage().startsWith(QStringLiteral("No update address is configured.")));
    QVERIFY(p.dialogs->urls.isEmpty());
    Program q(program.path(), [](QSettings& ini) {
        ini.setValue(QString::fromLatin1(kUpdateUrlValue), QStringLiteral("https://updates.test"));
        ini.setValue(QString::fromLatin1(kWebSiteValue), QStringLiteral("https://walls.test"));
    });
    q.named("HelpUpdates")->trigger();
    QCOMPARE(q.dialogs->urls.value(0).toString(),
             QStringLiteral("https://updates.test/checkupdates/check/check.php?DRENOK;2015.5.2;11/12/15"));

    QStringList texts;
    onNextModal([&texts](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("About Drenok"));
        for (QLabel* label : modal->findChildren<QLabel*>())
            texts << label->text();
        qobject_cast<QDialog*>(modal)->accept();
    });
    q.named("HelpAbout")->trigger();
    QVERIFY(texts.contains(QStringLiteral("Version 2015.5.2")));
    QVERIFY(texts.contains(QStringLiteral("A program for the analysis of flexible retaining structures")));
    QVERIFY(texts.filter(QStringLiteral("https://walls.test")).size() == 1);
    QVERIFY(texts.filter(QStringLiteral("mailto:")).isEmpty());  // no support address configured
}

void MainFormTest::keyboardReachesTheMenus() {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    Program p;
    p.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.form.get()));
    p.form->activateWindow();
    // Alt+O opens Options, "t" its earth-pressure submenu, "u" the user's pressure.
    QTest::keyClick(p.form->menuBar(), Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("OptionsMenu"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_T);
    QTRY_VERIFY(QApplication::activePopupWidget() &&
                QApplication::activePopupWidget()->objectName() == QStringLiteral("EarthPressureMenu"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_U);
    QTRY_COMPARE(p.form->Document().Model().EarthPressureChoice, 1);
    QVERIFY(p.action(TCommand::DistributedPressure)->isEnabled());

    // No two items of one menu share a mnemonic: every menu of the window and of a graph window,
    // with the results of a staged run (so the stage and graph items are all there).
    Program q;
    q.open(copyExample(folder, QStringLiteral("three_stages.dn5d")));
    q.trigger(TCommand::RunAnalysis);
    q.trigger(TCommand::GraphDeflection);
    QList<QMenu*> menus = q.form->findChildren<QMenu*>();
    QVERIFY(q.form->MdiArea()->activeSubWindow());
    auto* graph = qobject_cast<app::results::TPlotForm*>(q.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(graph);
    graph->RefreshMenu();
    menus << graph->PlotMenu();
    QStringList clashes;
    for (QMenu* menu : menus) {
        emit menu->aboutToShow();
        QMap<QChar, QString> taken;
        for (QAction* action : menu->actions()) {
            // Items shown only at times (the stages, say) count too.
            if (action->isSeparator()) continue;
            const QString text = action->text();
            for (int i = 0; i + 1 < text.size(); ++i) {
                if (text[i] != QLatin1Char('&')) continue;
                if (text[i + 1] == QLatin1Char('&')) {
                    ++i;
                    continue;
                }
                const QChar key = text[i + 1].toLower();
                // The same caption twice is one command in two forms, never shown together.
                if (taken.contains(key) && taken[key] != text)
                    clashes << menu->objectName() + menu->title() + ": " + taken[key] + " / " + text;
                taken[key] = text;
                break;
            }
        }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("\n"))));
}

void MainFormTest::exportFromTheGraphicsMenu() {
    QTemporaryDir folder;
    Program p;
    p.open(copyExample(folder, QStringLiteral("three_stages.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    QVERIFY(p.action(TCommand::ExportPlots)->isEnabled());
    const QString book = folder.filePath(QStringLiteral("graphs.xlsx"));
    QStringList offered;
    QString opened;
    p.form->SetExportSetup([&](app::results::TDlgExport& dialog) {
        for (int i = 0; i < dialog.List()->count(); ++i)
            if (dialog.List()->item(i)->checkState() == Qt::Checked)
                offered << dialog.List()->item(i)->text();
        dialog.ChooseFile = [&book] { return book; };
        dialog.OpenFile = [&opened](const QString& file) {
            opened = file;
            return true;
        };
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.GenerateButton()->click();
            dialog.accept();
        });
    });
    p.trigger(TCommand::ExportPlots);
    // The graphs whose menu items are enabled are offered and ticked.
    QVERIFY(offered.contains(QStringLiteral("Deflection vs Depth")));
    QCOMPARE(offered.contains(QStringLiteral("p-y Curves")), p.action(TCommand::GraphPY)->isEnabled());
    QCOMPARE(opened, book);
    QVERIFY(QFileInfo(book).size() > 1000);
}

// A run brings up its summary, one block per stage; the node tables show every node of a chosen stage
// and copy as tab-separated text.
void MainFormTest::summaryAfterEveryRunAndNodeTables() {
    QTemporaryDir folder;
    Program p;
    p.open(copyExample(folder, QStringLiteral("three_stages.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    auto* summary =
        qobject_cast<app::results::TSummaryWindow*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(summary != nullptr);
    QCOMPARE(summary->Summary().Cases.size(), std::size_t{3});
    QCOMPARE(QString::fromStdString(summary->Summary().Cases[2].Name), QStringLiteral("Stage 3"));
    summary->CopyTable();
    const QString table = QApplication::clipboard()->text();
    QCOMPARE(table.count(QLatin1Char('\n')), 4);  // header and three stages
    QVERIFY(table.startsWith(QStringLiteral("problem\tstatus\titerations\ttop deflection (in)")));
    QVERIFY(QApplication::clipboard()->mimeData()->hasHtml());

    QVERIFY(p.action(TCommand::NodeTables)->isEnabled());
    p.trigger(TCommand::NodeTables);
    auto* nodes =
        qobject_cast<app::results::TNodeTableWindow*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(nodes != nullptr);
    auto* choice = nodes->findChild<QComboBox*>(QStringLiteral("NodeTableCase"));
    QCOMPARE(choice->count(), 3);
    choice->setCurrentIndex(1);
    QCOMPARE(nodes->CaseIndex(), 1);
    const int rows = p.form->Document().Model().IncrementCount + 1;
    QCOMPARE(nodes->RowCount(), rows);
    nodes->findChild<QPushButton*>(QStringLiteral("CopyNodeTable"))->click();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), rows + 1);
    QVERIFY(lines[0].startsWith(QStringLiteral("node\tdepth (ft)\tdeflection (in)")));
    // Stage 2's top deflection, as the store holds it.
    QCOMPARE(lines[1].split(QLatin1Char('\t'))[2].toDouble(),
             static_cast<double>(p.form->Document().Model().Results.Response(1, 0).Deflection));
}

// The Design menu through its window: the limit-equilibrium embedment, a sweep that brackets where the
// p-y solution fails, and the section check, with the numbers drenok-design gives for the same wall.
void MainFormTest::designMenuLimitEquilibriumSweepAndSections() {
    QTemporaryDir folder;
    Program p;
    p.open(copyExample(folder, QStringLiteral("generated_sand.dn5d")));
    p.named("Design0")->trigger();
    auto* design = qobject_cast<TDesignWindow*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(design != nullptr);
    design->findChild<QPushButton*>(QStringLiteral("DesignCompute"))->click();
    QTableWidget* le = design->Table(TDesignWindow::LimitEquilibrium);
    QCOMPARE(le->rowCount(), 1);
    QCOMPARE(le->item(0, 1)->text(), QStringLiteral("simplified"));
    QVERIFY(std::fabs(le->item(0, 2)->text().toDouble() - 7.3145) < 1e-3);
    QVERIFY(design->Graph(TDesignWindow::LimitEquilibrium)->Plot.HasCurveData());

    p.named("Design1")->trigger();
    QCOMPARE(p.form->MdiArea()->subWindowList().size(), 1);  // the same window, at its sweep page
    design->From->setValue(4);
    design->To->setValue(8);
    design->Step->setValue(1);
    design->findChild<QPushButton*>(QStringLiteral("SweepRun"))->click();
    QTableWidget* sweep = design->Table(TDesignWindow::EmbedmentSweep);
    QCOMPARE(sweep->rowCount(), 5);
    QCOMPARE(sweep->item(0, 2)->text(), QStringLiteral("DEFLECTION EXCEEDED"));
    QCOMPARE(sweep->item(1, 2)->text(), QStringLiteral("converged"));
    QVERIFY(design->findChildren<QLabel*>().size() > 0);

    p.named("Design2")->trigger();
    design->findChild<QPushButton*>(QStringLiteral("SectionCheck"))->click();
    QTableWidget* sections = design->Table(TDesignWindow::Sections);
    QCOMPARE(sections->rowCount(), 13);
    QCOMPARE(sections->item(0, 0)->text(), QStringLiteral("GU 6N"));
    QCOMPARE(sections->item(0, 8)->text(), QStringLiteral("no"));
    QCOMPARE(sections->item(3, 8)->text(), QStringLiteral("yes"));  // AU 14
    // AU 16 applied: E I Wa = 29 000 ksi x 20.05 in4/in x 12 in; Undo puts the wall back.
    const long double before = p.form->Document().Tables().PileSect.Cell(3, 0).AsFloat();
    sections->setCurrentCell(4, 0);
    design->findChild<QPushButton*>(QStringLiteral("SectionApply"))->click();
    p.form->RefreshCommands();
    const double ei = static_cast<double>(p.form->Document().Tables().PileSect.Cell(3, 0).AsFloat());
    QVERIFY2(std::fabs(ei / 6.978e9 - 1) < 1e-3, qPrintable(QString::number(ei)));
    QVERIFY(p.form->Document().IsChanged());
    p.named("EditUndo")->trigger();
    QCOMPARE(p.form->Document().Tables().PileSect.Cell(3, 0).AsFloat(), before);
    // Sections of the user's: a file of one; a bad value is refused with its line and the catalogue kept.
    QFile mine(folder.filePath(QStringLiteral("mine.csv")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("name,cm4/m,cm3/m,kg/m2\nMine,32850,1600,115\n");
    mine.close();
    QVERIFY(design->UseCatalogue(mine.fileName()));
    design->findChild<QPushButton*>(QStringLiteral("SectionCheck"))->click();
    QCOMPARE(sections->rowCount(), 1);
    QCOMPARE(sections->item(0, 0)->text(), QStringLiteral("Mine"));
    QVERIFY(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mine.write("name,cm4/m,cm3/m,kg/m2\nBad,-1,1600,115\n");
    mine.close();
    p.dialogs->messages.clear();
    QVERIFY(!design->UseCatalogue(mine.fileName()));
    QVERIFY(p.lastMessage().contains(QStringLiteral("line 2")));
}

// File > Export Calculation Report and View > Section Drawing on a staged wall.
void MainFormTest::calculationReportAndSectionDrawing() {
    QTemporaryDir folder;
    Program p;
    p.open(copyExample(folder, QStringLiteral("three_stages.dn5d")));
    p.trigger(TCommand::RunAnalysis);
    TReportChoice pdf;
    pdf.File = folder.filePath(QStringLiteral("wall report.pdf"));
    pdf.Options.Engineer = QStringLiteral("A. Engineer");
    p.dialogs->reports = {pdf};
    p.named("FileExportReport")->trigger();
    QCOMPARE(p.dialogs->reportInitials.last(), folder.filePath(QStringLiteral("three_stages.pdf")));
    QFile written(pdf.File);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
    QCOMPARE(p.dialogs->documents.last(), pdf.File);  // opened when asked
    // HTML with a figure per graph of each stage (six graphs and the p-y curves) and the drawing.
    TReportChoice html = pdf;
    html.File = folder.filePath(QStringLiteral("wall.html"));
    p.dialogs->reports = {html};
    p.named("FileExportReport")->trigger();
    QFile page(html.File);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    QCOMPARE(text.count("<svg"), 3 * 7 + 1);
    QVERIFY(text.contains("A. Engineer"));
    // An edited problem is saved first: nothing asked, nothing written.
    p.form->Document().SetChanged();
    const qsizetype asked = p.dialogs->reportInitials.size();
    p.named("FileExportReport")->trigger();
    QCOMPARE(p.dialogs->reportInitials.size(), asked);
    QVERIFY(p.lastMessage().contains(QStringLiteral("Save the problem first")));

    // The dialog refuses a file that is neither PDF nor HTML, and gives the parts chosen.
    TDlgReport dialog(folder.filePath(QStringLiteral("r.docx")));
    QVERIFY(!dialog.Choice());
    dialog.FileEdit->setText(folder.filePath(QStringLiteral("r.html")));
    dialog.Figures->setChecked(false);
    dialog.Design->setChecked(true);
    QVERIFY(dialog.Choice() && !dialog.Choice()->Options.Figures && dialog.Choice()->Options.Design);

    // The section drawing shows every stage and the tieback of stage 2, and saves as a picture.
    p.named("ViewSectionDrawing")->trigger();
    auto* section =
        qobject_cast<app::results::TSectionWindow*>(p.form->MdiArea()->activeSubWindow()->widget());
    QVERIFY(section != nullptr);
    QCOMPARE(section->Drawing().Stages.size(), std::size_t{3});
    QVERIFY(section->Drawing().Stages[0].Tiebacks.empty());
    QCOMPARE(section->Drawing().Stages[1].Tiebacks.size(), std::size_t{1});
    QCOMPARE(section->Drawing().Stages[2].Excavation, 12.0);
    const QString svg = folder.filePath(QStringLiteral("section.svg"));
    QVERIFY(section->SavePictureTo(svg, QSize(800, 600), 96));
    QFile picture(svg);
    QVERIFY(picture.open(QIODevice::ReadOnly) && picture.readAll().contains("Stage 3: excavation 12 ft"));

    // The menu gives the report of every example after its run.
    QVERIFY(exampleNames().size() >= 16);
    for (const QString& name : exampleNames()) {
        Program q;
        q.open(copyExample(folder, name));
        q.trigger(TCommand::RunAnalysis);
        TReportChoice each;
        each.File = folder.filePath(name + QStringLiteral(".pdf"));
        q.dialogs->reports = {each};
        q.named("FileExportReport")->trigger();
        QFile report(each.File);
        QVERIFY2(report.open(QIODevice::ReadOnly) && report.read(5) == "%PDF-", qPrintable(name));
        QVERIFY2(report.size() > 20000, qPrintable(name));
    }
}

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
