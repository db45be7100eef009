#include "app/session/engine_runner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "app/model/run_files.h"
#include "app/session/engine_library.h"

namespace app::session {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString copyExample(const QTemporaryDir& folder, const char* name, const QString& as = QString()) {
    const QString target = folder.filePath(as.isEmpty() ? QString::fromLatin1(name) : as);
    QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + QString::fromLatin1(name), target);
    return target;
}

QString fakeData(const QTemporaryDir& folder, const char* mode) {
    const QString path = folder.filePath(QStringLiteral("fake.dn5d"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(mode) + "\n");
    return path;
}

QString output(const QString& data, const char* extension) {
    return QString::fromStdString(app::model::RunFilePath(data.toStdString(), extension));
}

QStringList runFolders() {
    return QDir(RunFolderBase())
        .entryList({QStringLiteral("drenok-run-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

QStringList listing(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    return names;
}

TEST(EngineRunner, RealEngineWritesBesideTheDataFileAndLeavesNothingElse) {
    // A runtime folder of its own: other tests' runs, going on at the same time, make theirs in the
    // shared one.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    ASSERT_EQ(RunFolderBase(), runtime.path());
    QTemporaryDir data;
    const QString file = copyExample(data, "cantilever_check.dn5d", QStringLiteral("my wall.dn5d"));
    const QStringList programBefore = listing(QStringLiteral(DRENOK_ENGINE_DIR));
    const QStringList foldersBefore = runFolders();
    const QString cwdBefore = QDir::currentPath();

    TEngineRunner runner(QStringLiteral(DRENOK_ENGINE_DIR));
    int busy = 0;
    runner.OnBusy = [&busy](bool on) { busy += on ? 1 : 10; };
    const TRunResult result = runner.Run(file.toStdString());
    EXPECT_EQ(result.Status, TRunStatus::Completed) << result.Detail;
    EXPECT_EQ(result.EngineResult, 0);
    EXPECT_EQ(busy, 11);  // on once, off once
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_TRUE(readAll(output(file, app::model::kReportExtension)).contains("END OF ANALYSIS"));
    EXPECT_FALSE(readAll(output(file, app::model::kPlotDataExtension)).isEmpty());
    EXPECT_TRUE(QFile::exists(output(file, app::model::kRunNotesExtension)));
    EXPECT_EQ(QDir::currentPath(), cwdBefore);
    EXPECT_EQ(runFolders(), foldersBefore);  // the run folder and its scratch files are gone
    EXPECT_EQ(listing(QStringLiteral(DRENOK_ENGINE_DIR)), programBefore);
    EXPECT_EQ(listing(data.path()).size(), 4);  // the data file and its three outputs
}

TEST(EngineRunner, LibraryMissingOrWithoutEntryIsNeverCalled) {
    QTemporaryDir data;
    const QString file = copyExample(data, "cantilever_check.dn5d");
    QTemporaryDir empty;
    TEngineRunner missing(empty.path());
    const TRunResult none = missing.Run(file.toStdString());
    EXPECT_EQ(none.Status, TRunStatus::LoadFailed);
    EXPECT_NE(none.Detail.find("Library could not be located"), std::string::npos);

    TEngineRunner noEntry(QStringLiteral(DRENOK_NO_ENTRY_DIR));
    bool called = false;
    noEntry.OnBusy = [&called](bool) { called = true; };
    const TRunResult result = noEntry.Run(file.toStdString());
    EXPECT_EQ(result.Status, TRunStatus::LoadFailed);
    EXPECT_FALSE(called);
    EXPECT_FALSE(QFile::exists(output(file, app::model::kReportExtension)));

    QTemporaryDir notALibrary;
    QFile junk(notALibrary.filePath(QString::fromLatin1(kEngineFileName)));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a shared object");
    junk.close();
    TDynamicLibrary library;
    library.SetLibraryName(junk.fileName());
    EXPECT_THROW(library.Load(), EInitError);
    EXPECT_THROW((void)library.EntryPoint(kEngineEntry), EDLLNotOpenError);
    EXPECT_EQ(TEngineRunner(notALibrary.path()).Run(file.toStdString()).Status, TRunStatus::LoadFailed);
}

TEST(EngineRunner, EngineFailuresAreStatusesAndTheFolderIsPrivate) {
    QTemporaryDir data;
    TEngineRunner fake(QStringLiteral(DRENOK_FAKE_ENGINE_DIR));
    const QString cwdBefore = QDir::currentPath();
    EXPECT_EQ(fake.Run(fakeData(data, "throw").toStdString()).Status, TRunStatus::EngineFailed);
    EXPECT_EQ(QDir::currentPath(), cwdBefore);
    EXPECT_FALSE(fake.IsRunning());
    const TRunResult mismatch = fake.Run(fakeData(data, "mismatch").toStdString());
    EXPECT_EQ(mismatch.Status, TRunStatus::VersionMismatch);
    EXPECT_EQ(mismatch.EngineResult, 1);

    const QString file = fakeData(data, "ok");
    const TRunResult ok = fake.Run(file.toStdString());
    ASSERT_EQ(ok.Status, TRunStatus::Completed);
    EXPECT_EQ(ok.EngineResult, 0);  // the fake answers 9 when the run file or the folder is wrong
    // The notes name the folder the engine ran in: a fresh one under the run-folder base, gone now.
    const QList<QByteArray> notes = readAll(output(file, app::model::kRunNotesExtension)).split('\n');
    ASSERT_GE(notes.size(), 2);
    const QString ranIn = QString::fromLocal8Bit(notes[1]);
    EXPECT_TRUE(ranIn.startsWith(QDir(RunFolderBase()).filePath(QStringLiteral("drenok-run-"))))
        << ranIn.toStdString();
    EXPECT_FALSE(QDir(ranIn).exists());

    // A call that fails, or leaves no report, replaces none of the outputs of the run before.
    const QByteArray report = readAll(output(file, app::model::kReportExtension));
    for (const char* mode : {"throw", "noreport"}) {
        SCOPED_TRACE(mode);
        const TRunResult failed = fake.Run(fakeData(data, mode).toStdString());
        EXPECT_NE(failed.Status, TRunStatus::Completed);
        EXPECT_EQ(readAll(output(file, app::model::kReportExtension)), report);
        EXPECT_EQ(readAll(output(file, app::model::kRunNotesExtension)).split('\n').value(1), notes[1]);
    }
    // No temporary copy is left beside the data file.
    EXPECT_EQ(QDir(data.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST(EngineRunner, RunsFromAReadOnlyProgramFolder) {
    QTemporaryDir program;
    ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_ENGINE_DIR "/") + QString::fromLatin1(kEngineFileName),
                            program.filePath(QString::fromLatin1(kEngineFileName))));
    ASSERT_EQ(::chmod(program.path().toLocal8Bit().constData(), 0555), 0);
    QTemporaryDir data;
    const QString file = copyExample(data, "generated_sand.dn5d");
    const TRunResult result = TEngineRunner(program.path()).Run(file.toStdString());
    ::chmod(program.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(result.Status, TRunStatus::Completed) << result.Detail;
    EXPECT_TRUE(readAll(output(file, app::model::kReportExtension)).contains("END OF ANALYSIS"));
    EXPECT_EQ(listing(program.path()).size(), 1);  // nothing but the engine
}

TEST(EngineRunner, TwoProgramsRunAtTheSameTimeWithoutDisturbingEachOther) {
    // The slow stand-in holds its run open while the other program starts one; it fails when it sees
    // the other's run file or scratch files.
    QTemporaryDir slow[2];
    QProcess overlapping[2];
    for (int i = 0; i < 2; ++i)
        overlapping[i].start(QStringLiteral(DRENOK_RUN_PROBE),
                             {QStringLiteral(DRENOK_FAKE_ENGINE_DIR), fakeData(slow[i], "slow")});
    for (QProcess& process : overlapping) {
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
    }

    // The real engine, each file run repeatedly by two processes started together, gives the results
    // of runs one after the other.
    QTemporaryDir alone;
    const char* examples[] = {"generated_layered_profile.dn5d", "three_stages.dn5d"};
    QByteArray expected[2];
    for (int i = 0; i < 2; ++i) {
        const QString file = copyExample(alone, examples[i]);
        ASSERT_EQ(TEngineRunner(QStringLiteral(DRENOK_ENGINE_DIR)).Run(file.toStdString()).Status,
                  TRunStatus::Completed);
        expected[i] = readAll(output(file, app::model::kPlotDataExtension));
        ASSERT_FALSE(expected[i].isEmpty());
    }
    QTemporaryDir together;
    QProcess processes[2];
    QString files[2];
    for (int i = 0; i < 2; ++i) {
        files[i] = copyExample(together, examples[i]);
        processes[i].start(QStringLiteral(DRENOK_RUN_PROBE),
                           {QStringLiteral("--repeat"), QStringLiteral(DRENOK_ENGINE_DIR), files[i]});
    }
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(processes[i].waitForFinished(120000));
        EXPECT_EQ(processes[i].exitCode(), 0) << processes[i].readAllStandardOutput().toStdString();
        EXPECT_EQ(readAll(output(files[i], app::model::kPlotDataExtension)), expected[i]) << examples[i];
    }
}

}  // namespace
}  // namespace app::session
