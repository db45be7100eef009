// Undo on a five-stage wall of 300 increments: the snapshot the window takes after every command, and
// one undo step (the snapshot before it and the problem put back).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/session/document_controller.h"

namespace {

struct TWall {
    QTemporaryDir folder;
    app::session::TDocumentController document{{}, QString()};

    TWall() {
        const QString data = folder.filePath(QStringLiteral("wall.dn5d"));
        QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/three_stages.dn5d"), data);
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
        document.OpenByName(data.toStdString(), app::model::TDataFileFormat::Current, false);
        document.ApplyStageCount(5);
        for (int stage = 1; stage <= 5; ++stage) {
            document.SwitchStage(stage);
            document.Model().SetIncrementCount(300);
            document.Model().Tables().PileSect.Cell(1, 0).SetInt(300);
            document.SetChanged();
        }
        document.SwitchStage(3);
        document.CheckPoint();
        // The measure means nothing on another wall.
        if (document.Model().StageCount != 5 || document.Model().IncrementCount != 300) std::abort();
    }
};

void SnapshotAfterACommand(benchmark::State& state) {
    TWall wall;
    for (auto _ : state) {
        wall.document.Model().TopSurcharge += 1.0L;
        wall.document.CheckPoint();
    }
}
BENCHMARK(SnapshotAfterACommand)->Unit(benchmark::kMillisecond);

void UndoStep(benchmark::State& state) {
    TWall wall;
    for (auto _ : state) {
        state.PauseTiming();
        wall.document.Model().TopSurcharge += 1.0L;
        wall.document.CheckPoint();
        state.ResumeTiming();
        wall.document.Undo();
    }
}
BENCHMARK(UndoStep)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
