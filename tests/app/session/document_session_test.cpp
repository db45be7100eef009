// The whole path a user takes, with no window: open an example, edit the problem through the model,
// save, run the real engine, read the results and look at a graph's curve.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/run_files.h"
#include "app/model/run_outcome.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"
#include "app/session/document_controller.h"

namespace app::session {
namespace {

struct Session {
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
    TDocumentController document{ports(), QStringLiteral(DRENOK_ENGINE_DIR)};

    std::vector<std::string> questions;
    bool runAnyway = false;
    std::string saveAs;  // the name the Save As dialog gives
    TDocumentPorts ports() {
        TDocumentPorts p;
        p.ChooseSaveFile = [this](const std::string&, const std::string&) { return std::optional(saveAs); };
        p.ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        p.Confirm = [this](const std::string& q) {
            questions.push_back(q);
            return runAnyway;
        };
        p.ShowRunWarning = [this](const std::string& m) { warnings.push_back(m); };
        return p;
    }
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string copyExample(const QTemporaryDir& folder, const char* example) {
    const QString data = folder.filePath(QStringLiteral("wall.dn5d"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/") + QString::fromLatin1(example), data));
    QFile(data).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return data.toStdString();
}

double topDeflection(const TDocumentController& document) {
    const app::model::TGraphPlot& plot = document.Plots().pltDef;
    EXPECT_GT(plot.LineCount(), 0);
    return plot.LineCount() > 0 && !plot.Line(0).Points.empty()
               ? static_cast<double>(plot.Line(0).Points[0].X)
               : 0.0;
}

TEST(DocumentSession, OpenEditSaveRunAndReadTheDeflectionCurve) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "sand_cantilever_triangular.dn5d");

    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    ASSERT_TRUE(s.messages.empty()) << s.messages.front();
    s.document.RunAnalysis();
    ASSERT_FALSE(s.messages.empty());
    EXPECT_EQ(s.messages.back(), kCompletedMessage);
    ASSERT_TRUE(s.document.ResultsAvailable());
    const double before = topDeflection(s.document);
    EXPECT_NEAR(before, 0.3822, 5e-5);  // inches, as the deflection graph shows them

    // A surcharge on the backfill pushes the wall further; the edit is saved before the run.
    s.document.Model().TopSurcharge = 2.0L;  // [lb/in^2]
    s.document.SetChanged();
    s.messages.clear();
    s.document.RunAnalysis();
    ASSERT_FALSE(s.messages.empty());
    EXPECT_EQ(s.messages.back(), kCompletedMessage);
    EXPECT_FALSE(s.document.IsChanged());
    ASSERT_TRUE(s.document.ResultsAvailable());

    const app::model::TLine& curve = s.document.Plots().pltDef.Line(0);
    ASSERT_GT(curve.Points.size(), 2U);
    EXPECT_DOUBLE_EQ(static_cast<double>(curve.Points.front().Y), 0.0);  // depth from the top [ft]
    EXPECT_GT(static_cast<double>(curve.Points.back().Y), 24.9);
    EXPECT_GT(topDeflection(s.document), 1.2 * before);

    // The file on disk holds the edit.
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables{plain, chart};
    app::model::TProgramData reread(tables);
    app::model::CreateFromFile(reread, path, app::model::FormatFromExtension(path));
    EXPECT_DOUBLE_EQ(static_cast<double>(reread.TopSurcharge), 2.0);
}
// A run whose deflections pass the allowable deflection is never "completed": the warning names the
// problem, its status and the engine's line; the curves and the graphs say so until a run converges.
TEST(DocumentSession, ARunThatDidNotConvergeIsNeverCompleted) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "cantilever_check.dn5d");
    auto first = std::make_unique<Session>();
    Session& s = *first;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.Model().MaxDeflection = 10.0L;  // the top deflects 21.3 in
    s.document.SetChanged();
    s.document.RunAnalysis();
    EXPECT_TRUE(s.messages.empty()) << s.messages.front();
    ASSERT_EQ(s.warnings.size(), 1U);
    EXPECT_NE(s.warnings[0].find("The problem: the maximum allowable deflection was exceeded at 15 stations"),
              std::string::npos)
        << s.warnings[0];
    EXPECT_NE(s.warnings[0].find("***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  15  *** STATIONS *****"),
              std::string::npos);
    EXPECT_EQ(s.document.RunStatus().Worst(), app::model::TRunState::DeflectionExceeded);
    const app::model::TGraphPlot& deflection = s.document.Plots().pltDef;
    ASSERT_GT(deflection.LineCount(), 0);
    EXPECT_NE(deflection.LegendText(0).find("(not converged)"), std::string::npos)
        << deflection.LegendText(0);
    EXPECT_EQ(deflection.Notice, "Not converged: allowable deflection exceeded");
    EXPECT_TRUE(s.document.Plots().pltPY.Notice.empty());  // curves of the input, not of the solution

    // Opened again, the outputs still say it; a converging run takes the marks away.
    first.reset();  // closed first, so the file is not open elsewhere
    Session t;
    t.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    EXPECT_EQ(t.document.RunStatus().Worst(), app::model::TRunState::DeflectionExceeded);
    EXPECT_FALSE(t.document.Plots().pltDef.Notice.empty());
    t.document.Model().MaxDeflection = 100.0L;
    t.document.SetChanged();
    t.document.RunAnalysis();
    EXPECT_TRUE(t.warnings.empty());
    ASSERT_FALSE(t.messages.empty());
    EXPECT_EQ(t.messages.back(), kCompletedMessage);
    EXPECT_TRUE(t.document.Plots().pltDef.Notice.empty());
    EXPECT_EQ(t.document.Plots().pltDef.LegendText(0).find("(not converged)"), std::string::npos);
}

// The checks before a run: an error blocks it and says where; a warning asks first.
TEST(DocumentSession, ChecksBeforeARun) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "generated_sand.dn5d");
    const QString report =
        QString::fromStdString(path).replace(QStringLiteral(".dn5d"), QStringLiteral(".dn5o"));
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    app::model::TGridTable& layers = s.document.Tables().NewSoil;
    layers.Cell(1, 1).SetFloat(8.0L);  // [ft] above the first layer's bottom at 10 ft
    s.document.SetChanged();
    s.document.RunAnalysis();
    ASSERT_EQ(s.messages.size(), 1U);
    EXPECT_EQ(s.messages[0].rfind(kCheckErrorsMessage, 0), 0U) << s.messages[0];
    EXPECT_NE(s.messages[0].find("Soil Layers, row 2, Depth at Bottom of the Layer"), std::string::npos);
    EXPECT_FALSE(QFile::exists(report));

    layers.Cell(1, 1).SetFloat(20.0L);  // [ft] above the tip at 25 ft: a warning
    s.document.SetChanged();
    s.messages.clear();
    s.document.RunAnalysis();
    ASSERT_EQ(s.questions.size(), 1U);
    EXPECT_NE(s.questions[0].find("above the tip of the wall"), std::string::npos) << s.questions[0];
    EXPECT_FALSE(QFile::exists(report));
    s.runAnyway = true;
    s.document.RunAnalysis();
    EXPECT_TRUE(QFile::exists(report));
}

// Results shown after an edit say they are out of date until the next run, saved or not.
TEST(DocumentSession, ResultsOutOfDateAfterAnEdit) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "generated_sand.dn5d");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.RunAnalysis();
    ASSERT_TRUE(s.document.ResultsAvailable());
    EXPECT_FALSE(s.document.ResultsOutOfDate());
    EXPECT_FALSE(s.document.PublishResultsState());

    s.document.Tables().NewSoil.Cell(1, 1).SetFloat(60.0L);  // a table edit, as in a grid editor
    EXPECT_TRUE(s.document.ResultsOutOfDate());
    EXPECT_TRUE(s.document.PublishResultsState());
    EXPECT_EQ(s.document.Plots().pltDef.Notice, app::model::kOutOfDateNotice);
    EXPECT_EQ(s.document.Plots().pltPY.Notice, app::model::kOutOfDateNotice);
    EXPECT_EQ(s.document.Model().Results.Notice, app::model::kOutOfDateNotice);
    s.document.SaveProblem();
    EXPECT_TRUE(s.document.ResultsOutOfDate());  // saved, still not run

    s.document.RunAnalysis();
    EXPECT_FALSE(s.document.ResultsOutOfDate());
    s.document.PublishResultsState();
    EXPECT_TRUE(s.document.Plots().pltDef.Notice.empty());
    EXPECT_TRUE(s.document.Model().Results.Notice.empty());

    s.document.SetUnitSystem(app::model::kUnitsSI);
    EXPECT_TRUE(s.document.ResultsOutOfDate());
}

// A graph title typed for one file is not carried to the next: New and Open start without one.
TEST(DocumentSession, GraphTitlesBelongToTheirFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "cantilever_check.dn5d");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.Plots().pltDef.GraphTitle = "Wall A, section 1";
    s.document.Plots().pltMom.TitleAtTop = true;
    s.document.NewProblem();
    EXPECT_EQ(s.document.Plots().pltDef.GraphTitle, "");
    EXPECT_FALSE(s.document.Plots().pltMom.TitleAtTop);
    s.document.Plots().pltShear.GraphTitle = "Typed for the new problem";
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    EXPECT_EQ(s.document.Plots().pltShear.GraphTitle, "");
}

// Outputs beside a data file are shown only when they are its results as saved.
TEST(DocumentSession, StaleOutputsAreNotShown) {
    namespace fs = std::filesystem;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "cantilever_check.dn5d");
    const std::string plot = app::model::RunFilePath(path, app::model::kPlotDataExtension);
    {
        Session s;
        s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
        s.document.RunAnalysis();
        ASSERT_TRUE(s.document.ResultsAvailable());
    }
    const std::string ran = fs::path(plot).string() + ".ran";
    fs::copy_file(plot, ran);
    auto reopen = [&] {
        auto s = std::make_unique<Session>();
        s->document.OpenByName(path, app::model::FormatFromExtension(path), false);
        return s;
    };
    auto restore = [&] {
        fs::copy_file(ran, plot, fs::copy_options::overwrite_existing);
        fs::last_write_time(plot, fs::last_write_time(path) + std::chrono::seconds(5));
    };
    restore();
    EXPECT_TRUE(reopen()->document.ResultsAvailable());

    struct Case {
        const char* name;
        std::function<void()> spoil;
        const char* says;
    };
    const std::string text = readFile(path);
    const Case cases[] = {
        {"saved after its run",
         [&] { fs::last_write_time(plot, fs::last_write_time(path) - std::chrono::seconds(5)); },
         "older than the data file"},
        {"cut inside the last number", [&] { fs::resize_file(plot, fs::file_size(plot) - 3); }, "cut short"},
        {"of another wall",
         [&] {
             // Another problem under the same name: 20 increments of 2 in instead of 40 of 1.
             std::string other = text;
             other.replace(other.find("40 1 100"), 8, "20 2 100");
             writeFile(path, other);
             fs::last_write_time(plot, fs::last_write_time(path) + std::chrono::seconds(5));
         },
         "a wall of 40 increments where the data file has 20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restore();
        c.spoil();
        const auto s = reopen();
        EXPECT_FALSE(s->document.ResultsAvailable());
        ASSERT_EQ(s->messages.size(), 1U);
        EXPECT_NE(s->messages[0].find("are not shown"), std::string::npos) << s->messages[0];
        EXPECT_NE(s->messages[0].find(c.says), std::string::npos) << s->messages[0];
        writeFile(path, text);
    }
}

// A file saved on disk by someone else since it was opened here is not overwritten without asking;
// kept, nothing is saved and nothing runs.
TEST(DocumentSession, AFileChangedOnDiskIsNotOverwrittenSilently) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "cantilever_check.dn5d");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.SaveProblem();  // our own save: no question
    EXPECT_TRUE(s.questions.empty());

    const std::string theirs = readFile(path) + "\n";  // another copy saved it meanwhile
    writeFile(path, theirs);
    s.document.Model().TopSurcharge = 1.0L;
    s.document.SetChanged();
    s.runAnyway = false;  // "Save over it?" No
    EXPECT_FALSE(s.document.SaveProblem());
    ASSERT_EQ(s.questions.size(), 1U);
    EXPECT_EQ(s.questions[0], ChangedOnDiskQuestion(path));
    EXPECT_EQ(readFile(path), theirs);
    EXPECT_TRUE(s.document.IsChanged());
    s.document.RunAnalysis();
    EXPECT_FALSE(std::filesystem::exists(app::model::RunFilePath(path, app::model::kReportExtension)));

    s.runAnyway = true;  // Yes: saved, and from then on no question
    EXPECT_TRUE(s.document.SaveProblem());
    EXPECT_NE(readFile(path), theirs);
    s.questions.clear();
    s.document.SetChanged();
    EXPECT_TRUE(s.document.SaveProblem());
    EXPECT_TRUE(s.questions.empty());
}

// A second copy of the program is warned before it re-splits the stage files of a file the first
// has open; declining leaves the stage files as the first copy wrote them. The lock goes with Save As
// and is given back on close.
TEST(DocumentSession, ASecondCopyIsWarnedBeforeOpeningTheSameFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "three_stages.dn5d");
    auto first = std::make_unique<Session>();
    first->document.OpenByName(path, app::model::FormatFromExtension(path), false);
    ASSERT_EQ(first->document.Model().StageCount, 3);
    const std::string stage2 = app::model::StageFilePath(path, 2).string();
    writeFile(stage2, readFile(stage2) + "\n");  // the first copy's edit of stage 2, not yet saved
    const std::string edited = readFile(stage2);

    Session second;  // declines
    second.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    ASSERT_EQ(second.questions.size(), 1U);
    EXPECT_NE(second.questions[0].find("open in another copy of the program"), std::string::npos);
    EXPECT_EQ(second.document.Model().FileName, app::model::kNewFileName);
    EXPECT_EQ(readFile(stage2), edited);

    // Save As moves the lock: the new name is held, the old one free again.
    const std::string moved = folder.filePath(QStringLiteral("moved.dn5d")).toStdString();
    first->saveAs = moved;
    ASSERT_TRUE(first->document.SaveProblemAs());
    EXPECT_TRUE(std::filesystem::exists(LockFilePath(moved)));
    EXPECT_FALSE(std::filesystem::exists(LockFilePath(path)));
    first.reset();  // closing gives the lock back
    EXPECT_FALSE(std::filesystem::exists(LockFilePath(moved)));
    Session third;
    third.document.OpenByName(moved, app::model::FormatFromExtension(moved), false);
    EXPECT_TRUE(third.questions.empty());
    EXPECT_EQ(third.document.Model().FileName, moved);
}

// Stage files that cannot be written at open (a full disk; here a folder in the way) leave the file
// unopened with the reason: no stage takes another's data.
TEST(DocumentSession, StageFilesThatCannotBeWrittenAreNotOpened) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "three_stages.dn5d");
    std::filesystem::create_directories(app::model::StageFilePath(path, 2) / "inside");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    ASSERT_EQ(s.messages.size(), 1U);
    EXPECT_NE(s.messages[0].find("Cannot write file " + app::model::StageFilePath(path, 2).string()),
              std::string::npos)
        << s.messages[0];
    EXPECT_NE(s.messages[0].find("are not opened"), std::string::npos);
    EXPECT_EQ(s.document.Model().FileName, app::model::kNewFileName);
}

// Undo and redo: every recorded change is a step; back at the saved state the problem is unchanged;
// more than a hundred steps are kept; an option switched off keeps its table; Open starts afresh.
TEST(DocumentSession, UndoAndRedoOfEveryChange) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "sand_cantilever_triangular.dn5d");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.SaveProblem();  // in the program's own number format
    const std::string saved = readFile(path);
    auto& model = s.document.Model();
    EXPECT_FALSE(s.document.CanUndo());
    const long double surcharge = model.TopSurcharge;
    for (int k = 1; k <= 150; ++k) {  // what the window does after every command
        model.TopSurcharge = surcharge + k;
        s.document.SetChanged();
        s.document.CheckPoint();
    }
    s.document.CheckPoint();  // nothing new: no step
    EXPECT_EQ(static_cast<double>(model.TopSurcharge), static_cast<double>(surcharge + 150));
    for (int k = 149; k >= 0; --k) {
        ASSERT_TRUE(s.document.CanUndo()) << k;
        s.document.Undo();
        EXPECT_EQ(static_cast<double>(model.TopSurcharge), static_cast<double>(surcharge + k));
    }
    EXPECT_FALSE(s.document.CanUndo());
    EXPECT_FALSE(s.document.IsChanged());  // back where the file is
    s.document.Redo();
    EXPECT_TRUE(s.document.IsChanged());
    EXPECT_EQ(static_cast<double>(model.TopSurcharge), static_cast<double>(surcharge + 1));
    s.document.Undo();
    s.document.SaveProblem();
    EXPECT_EQ(readFile(path), saved);  // undone to the letter

    // A table whose option is switched off is kept in hand, so switching it on again gets it back.
    const int rows = model.Tables().BoundCond.RowCount();
    model.ApplyConcentratedLoads = true;
    model.Tables().BoundCond.SetRowCount(2);
    s.document.OptionChanged();
    s.document.CheckPoint();
    model.ApplyConcentratedLoads = false;
    s.document.OptionChanged();
    s.document.CheckPoint();
    EXPECT_EQ(model.Tables().BoundCond.RowCount(), 2);
    s.document.Undo();
    EXPECT_TRUE(model.ApplyConcentratedLoads);
    EXPECT_EQ(model.Tables().BoundCond.RowCount(), 2);
    s.document.Undo();
    EXPECT_EQ(model.Tables().BoundCond.RowCount(), rows);

    // A new edit drops what could have been redone; Open starts a new history.
    s.document.Redo();
    model.Title = "Another";
    s.document.CheckPoint();
    EXPECT_FALSE(s.document.CanRedo());
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    EXPECT_FALSE(s.document.CanUndo());
}

// A staged problem: an edit of stage 2, undone after switching to stage 3, comes back on stage 2,
// and the stage files agree with it.
TEST(DocumentSession, UndoOnAStage) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = copyExample(folder, "three_stages.dn5d");
    Session s;
    s.document.OpenByName(path, app::model::FormatFromExtension(path), false);
    s.document.SwitchStage(2);
    s.document.CheckPoint();
    const std::string stage2 = s.document.Model().Title;
    const long double excavation = s.document.Model().FreeHeight;
    s.document.Model().FreeHeight = excavation + 12;
    s.document.SetChanged();
    s.document.CheckPoint();
    s.document.SwitchStage(3);
    s.document.CheckPoint();
    EXPECT_NE(readFile(app::model::StageFilePath(path, 2).string()).find(" 120 "), std::string::npos);
    s.document.Undo();
    EXPECT_EQ(s.document.Model().CurrentStage, 2);
    EXPECT_EQ(static_cast<double>(s.document.Model().FreeHeight), static_cast<double>(excavation));
    EXPECT_EQ(s.document.Model().Title, stage2);
    s.document.SwitchStage(1);
    s.document.SwitchStage(2);
    EXPECT_EQ(static_cast<double>(s.document.Model().FreeHeight), static_cast<double>(excavation));
    EXPECT_FALSE(s.document.IsChanged());

    // A stage file that cannot be written (a folder in its way) undoes nothing and says so.
    s.document.Model().FreeHeight = excavation + 24;
    s.document.SetChanged();
    s.document.CheckPoint();
    s.document.SwitchStage(3);
    s.document.CheckPoint();
    const std::string stage1 = readFile(app::model::StageFilePath(path, 1).string());
    // Stage 1 is written back first, then stage 3 fails: stage 1 must be put back as it was.
    std::filesystem::remove(app::model::StageFilePath(path, 3));
    std::filesystem::create_directories(app::model::StageFilePath(path, 3) / "inside");
    try {
        s.document.Undo();
        ADD_FAILURE() << "undone over a folder";
    } catch (const app::model::EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("Nothing was undone"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.document.Model().CurrentStage, 3);
    EXPECT_EQ(readFile(app::model::StageFilePath(path, 1).string()), stage1);
    EXPECT_TRUE(s.document.CanUndo());
}

}  // namespace
}  // namespace app::session
