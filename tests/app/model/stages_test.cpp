#include "app/model/stages.h"

#include "app/model/model_checks.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/word_reader.h"
#include "tests/app/model/model_test_support.h"

namespace app::model {
namespace {

namespace fs = std::filesystem;
using testsupport::Problem;
using testsupport::readText;
using testsupport::writeText;

struct ScratchFolder : testsupport::ScratchFolder {
    explicit ScratchFolder(const std::string& name) : testsupport::ScratchFolder("stages_test_", name) {}
};

// What the interface would have shown.
struct Screen {
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::string status = "untouched";
    int refreshes = 0;
    bool answer = true;

    TStageCallbacks Callbacks() {
        TStageCallbacks c;
        c.ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        c.Confirm = [this](const std::string& q) {
            questions.push_back(q);
            return answer;
        };
        c.SetStatus = [this](const std::string& s) { status = s; };
        c.RefreshStageControls = [this] { ++refreshes; };
        return c;
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        result.push_back(line);
    }
    while (!result.empty() && result.back().empty())
        result.pop_back();
    return result;
}

// Records compared word by word, numbers by value ("1E-5" and "0.00001" are the same record).
void expectSameRecords(const std::string& actual, const std::string& expected, const std::string& name) {
    const auto a = lines(actual);
    const auto e = lines(expected);
    ASSERT_EQ(a.size(), e.size()) << name;
    for (std::size_t i = 0; i < e.size(); ++i) {
        TWordReader x(a[i]), y(e[i]);
        while (!y.AtEnd()) {
            ASSERT_FALSE(x.AtEnd()) << name << " line " << i + 1 << ": " << a[i] << " | " << e[i];
            const std::string wx = x.ReadWord(), wy = y.ReadWord();
            long double vx = 0, vy = 0;
            if (TWordReader::ParseReal(wx, vx) && TWordReader::ParseReal(wy, vy))
                EXPECT_EQ(static_cast<double>(vx), static_cast<double>(vy)) << name << " line " << i + 1;
            else
                EXPECT_EQ(wx, wy) << name << " line " << i + 1;
        }
        EXPECT_TRUE(x.AtEnd()) << name << " line " << i + 1 << ": " << a[i] << " | " << e[i];
    }
}

const fs::path kThreeStages = fs::path(DRENOK_EXAMPLES) / "three_stages.dn5d";

// The staged example copied into `folder` and opened there as the desktop program opens it.
fs::path openThreeStages(Problem& p, TStages& stages, const ScratchFolder& folder) {
    const fs::path file = folder.path / "wall.dn5d";
    fs::copy_file(kThreeStages, file);
    CreateFromFile(p.model, file, TDataFileFormat::Current);
    EXPECT_TRUE(stages.OpenStagedDataFile());
    return file;
}

// The second field of the wall record: the increment length, which the tests use as a stage's mark.
long double wallMark(const fs::path& stageFile) {
    TWordReader words(readText(stageFile));
    words.ReadLine();
    for (int i = 0; i < 10; ++i)
        words.ReadWord();
    words.ReadWord();
    return words.ReadReal();
}

// ---- Names and splitting -------------------------------------------------------------------------

TEST(StageNames, FilesTextsAndSplitting) {
    EXPECT_EQ(StageFilePath("/data/Wall.dn5d", 3), fs::path("/data/Wall.st3"));
    EXPECT_EQ(StageFilePath("old.dn4d", 1), fs::path("old.st1"));
    EXPECT_EQ(StageStatusText(4), "Construction Stage Number: 4");
    EXPECT_EQ(CopyPreviousQuestion(3), "Do you want to copy all information from Stage 2 to Stage 3");

    const auto parts = SplitStagedText("T\r\n1 2\r\n1\n Stage No : 2\n3\n2\n Stage No : 3\n3");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], "T\n1 2\n1\n");
    EXPECT_EQ(parts[1], " Stage No : 2\n3\n2\n");
    EXPECT_EQ(parts[2], " Stage No : 3\n3\n");
}

TEST(StageSplitJoin, ExampleSplitsIntoStageFilesAndJoinsBack) {
    ScratchFolder folder("split");
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    const fs::path file = openThreeStages(p, stages, folder);
    ASSERT_EQ(p.model.StageCount, 3);
    EXPECT_EQ(p.model.CurrentStage, 1);
    EXPECT_EQ(screen.status, "Construction Stage Number: 1");

    const std::string original = readText(kThreeStages);
    std::string pieces;
    for (int n = 1; n <= 3; ++n) {
        const auto stage = lines(readText(StageFilePath(file, n)));
        ASSERT_GE(stage.size(), 3u);
        EXPECT_EQ(stage.front(), n == 1 ? "Anchored wall in three stages"
                                        : std::string(" Stage No : ").append(std::to_string(n)));
        EXPECT_EQ(stage.back(), std::to_string(n));
        pieces.append(readText(StageFilePath(file, n)));
    }
    EXPECT_EQ(lines(pieces), lines(original));
    EXPECT_FALSE(fs::exists(StageFilePath(file, 4)));

    // Every stage loaded and written back by the model, then joined: the same records.
    for (int n = 1; n <= 3; ++n) {
        p.model.CurrentStage = n;
        ASSERT_TRUE(stages.LoadStage()) << n;
        EXPECT_EQ(p.model.CurrentStage, n);
        EXPECT_EQ(p.model.StageCount, 3);
        if (n == 2) {
            EXPECT_EQ(p.model.Title, " Stage No : 2");
        }
        stages.SaveStage();
    }
    EXPECT_TRUE(screen.messages.empty());
    fs::remove(file);
    stages.JoinStageFiles(file);
    expectSameRecords(readText(file), original, "joined");

    // Save As: the data file under the new name, stage files moved along.
    const fs::path renamed = folder.path / "renamed.dn5d";
    stages.SaveStagedAs(renamed);
    EXPECT_EQ(p.model.FileName, renamed.string());
    expectSameRecords(readText(renamed), original, "saved as");
    for (int n = 1; n <= 3; ++n) {
        EXPECT_FALSE(fs::exists(StageFilePath(file, n))) << n;
        EXPECT_TRUE(fs::exists(StageFilePath(renamed, n))) << n;
    }

    // Joining needs every stage: a missing one leaves the data file as it was.
    const std::string before = readText(renamed);
    fs::remove(StageFilePath(renamed, 2));
    EXPECT_THROW(stages.JoinStageFiles(renamed), EInOutError);
    EXPECT_EQ(readText(renamed), before);
}

// ---- Stage commands ------------------------------------------------------------------------------

// A new problem made staged with `count` stages; stage n carries increment length n.
void makeStaged(Problem& p, TStages& stages, const fs::path& file, int count) {
    p.model.FileName = file.string();
    bool changed = false;
    stages.ApplyStageCount(count, changed);
    for (int n = 1; n <= count; ++n) {
        stages.SwitchStage(n, changed);
        p.model.IncrementLength = n;
        stages.UpdateCurrentStage(changed);
    }
}

TEST(StageCount, RaisingCopiesTheLastStageAndLoweringDeletes) {
    ScratchFolder folder("count");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 2);
    ASSERT_EQ(wallMark(StageFilePath(file, 1)), 1.0L);
    ASSERT_EQ(wallMark(StageFilePath(file, 2)), 2.0L);

    // 2 → 4 on stage 2: stages 3 and 4 start as copies of stage 2; stage 2 stays current.
    p.model.IncrementCount = 17;  // unsaved edit of stage 2
    bool changed = false;
    stages.ApplyStageCount(4, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(p.model.StageCount, 4);
    EXPECT_EQ(p.model.CurrentStage, 2);
    EXPECT_EQ(p.model.IncrementLength, 2.0L);
    EXPECT_EQ(p.model.IncrementCount, 17);
    EXPECT_EQ(screen.status, "Construction Stage Number: 2");
    for (int n = 1; n <= 4; ++n) {
        const auto stage = lines(readText(StageFilePath(file, n)));
        ASSERT_GE(stage.size(), 3u);
        EXPECT_EQ(stage[1].substr(stage[1].size() - 5), "4 0 0") << n;  // count of stages
        EXPECT_EQ(stage.back(), std::to_string(n));
        EXPECT_EQ(wallMark(StageFilePath(file, n)), n == 1 ? 1.0L : 2.0L) << n;
    }
    auto body = [&](int n) {
        auto stage = lines(readText(StageFilePath(file, n)));
        return std::vector<std::string>(stage.begin() + 1, stage.end() - 1);
    };
    EXPECT_EQ(body(3), body(2));
    EXPECT_EQ(body(4), body(2));

    // 4 → 2: stage 1 current and loaded; stage files 3 and 4 gone.
    stages.SwitchStage(3, changed);
    stages.ApplyStageCount(2, changed);
    EXPECT_EQ(p.model.StageCount, 2);
    EXPECT_EQ(p.model.CurrentStage, 1);
    EXPECT_EQ(p.model.IncrementLength, 1.0L);
    EXPECT_EQ(screen.status, "Construction Stage Number: 1");
    EXPECT_FALSE(fs::exists(StageFilePath(file, 3)));
    EXPECT_FALSE(fs::exists(StageFilePath(file, 4)));
    const std::string control = lines(readText(StageFilePath(file, 2)))[1];
    EXPECT_EQ(control.substr(control.size() - 5), "2 0 0");

    // Same count: nothing rewritten. Count 1: every stage file deleted, status cleared.
    const std::string stage2 = readText(StageFilePath(file, 2));
    stages.ApplyStageCount(2, changed);
    EXPECT_EQ(readText(StageFilePath(file, 2)), stage2);
    const int refreshes = screen.refreshes;
    stages.ApplyStageCount(1, changed);
    EXPECT_EQ(p.model.StageCount, 1);
    EXPECT_EQ(screen.status, "");
    EXPECT_GT(screen.refreshes, refreshes);
    EXPECT_EQ(folder.FileCount(), 0u);
}

TEST(StageCount, LeavingStagedConstructionFromALaterStageKeepsStageOne) {
    ScratchFolder folder("unstage");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    p.model.Title = "Stage one's wall";
    makeStaged(p, stages, file, 3);
    ASSERT_EQ(p.model.CurrentStage, 3);
    bool changed = false;
    stages.SwitchStage(2, changed);
    p.model.IncrementCount = 23;  // an unsaved edit of stage 2: saved to its file first, then gone
    changed = false;
    stages.ApplyStageCount(1, changed);
    EXPECT_EQ(p.model.StageCount, 1);
    EXPECT_EQ(p.model.CurrentStage, 1);
    EXPECT_EQ(p.model.Title, "Stage one's wall");
    EXPECT_EQ(p.model.IncrementLength, 1.0L);  // stage 1's data
    EXPECT_NE(p.model.IncrementCount, 23);
    EXPECT_TRUE(changed);  // the data file still holds three stages
    EXPECT_EQ(screen.status, "");
    EXPECT_EQ(folder.FileCount(), 0u);
    // Saved now, the problem is stage 1 alone.
    const auto written = lines(FormatDataFile(p.model));
    EXPECT_EQ(written[0], "Stage one's wall");
    EXPECT_EQ(written[1].substr(written[1].size() - 5), "1 0 0");
    EXPECT_EQ(written.back(), "0");
}

TEST(StageSwitch, EditsStayInTheirStageAndTheChangedStateIsKept) {
    ScratchFolder folder("switch");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 3);
    bool changed = false;
    stages.SwitchStage(2, changed);
    ASSERT_EQ(p.model.IncrementLength, 2.0L);
    EXPECT_FALSE(changed);

    // An unsaved table edit on stage 2 goes into its file when switching away; still changed.
    p.tables.PileSect.Cell(3, 0).SetFloat(4.5e9L);
    stages.SwitchStage(1, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(p.model.CurrentStage, 1);
    EXPECT_EQ(p.model.IncrementLength, 1.0L);
    EXPECT_NE(p.tables.PileSect.Cell(3, 0).AsFloat(), 4.5e9L);
    EXPECT_NE(readText(StageFilePath(file, 2)).find("4.5E9"), std::string::npos);
    EXPECT_EQ(screen.status, "Construction Stage Number: 1");

    // Switching to the current stage does nothing.
    screen.status.clear();
    stages.SwitchStage(1, changed);
    EXPECT_EQ(screen.status, "");

    // Update writes the current stage and keeps the changed state either way.
    changed = false;
    p.model.IncrementCount = 33;
    stages.UpdateCurrentStage(changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(lines(readText(StageFilePath(file, 1)))[2].substr(0, 3), "33 ");
    p.tables.PileSect.Cell(3, 0).SetFloat(7e9L);
    stages.UpdateCurrentStage(changed);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(IsProblemChanged(false, p.tables));
    EXPECT_NE(readText(StageFilePath(file, 1)).find("7E9"), std::string::npos);

    // File Save of the staged problem: every stage in order, the edits included.
    stages.SaveStagedDataFile();
    const auto all = lines(readText(file));
    EXPECT_EQ(all.front(), "New Wall");
    EXPECT_EQ(all.back(), "3");
    EXPECT_EQ(std::count(all.begin(), all.end(), " Stage No : 2"), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), " Stage No : 3"), 1);
}

TEST(StageCopyPrevious, AskedOnLaterStagesAndReplacesTheStage) {
    ScratchFolder folder("copy");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 3);
    bool changed = false;

    stages.SwitchStage(1, changed);
    EXPECT_FALSE(stages.CopyPreviousStage());
    EXPECT_TRUE(screen.questions.empty());

    stages.SwitchStage(3, changed);
    screen.answer = false;
    EXPECT_FALSE(stages.CopyPreviousStage());
    ASSERT_EQ(screen.questions.size(), 1u);
    EXPECT_EQ(screen.questions[0], "Do you want to copy all information from Stage 2 to Stage 3");
    EXPECT_EQ(wallMark(StageFilePath(file, 3)), 3.0L);

    screen.answer = true;
    EXPECT_TRUE(stages.CopyPreviousStage());
    EXPECT_EQ(p.model.CurrentStage, 3);
    EXPECT_EQ(p.model.IncrementLength, 2.0L);
    EXPECT_EQ(wallMark(StageFilePath(file, 3)), 2.0L);
    const auto stage3 = lines(readText(StageFilePath(file, 3)));
    EXPECT_EQ(stage3.front(), " Stage No : 3");
    EXPECT_EQ(stage3.back(), "3");
    EXPECT_EQ(wallMark(StageFilePath(file, 2)), 2.0L);
}

// ---- Failures ------------------------------------------------------------------------------------

// While alive, regular files cannot grow beyond a few bytes (even for the superuser).
class TFileSizeLimit {
public:
    TFileSizeLimit() {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = 16;
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    [[nodiscard]] bool Active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
    bool m_active = false;
};

TEST(StageFailures, FailedWriteLeavesThePreviousStageFile) {
    ScratchFolder folder("fail");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 2);
    const std::string stage2 = readText(StageFilePath(file, 2));
    const std::size_t files = folder.FileCount();

    p.model.IncrementLength = 99;
    bool changed = false;
    {
        TFileSizeLimit limit;
        ASSERT_TRUE(limit.Active());
        EXPECT_THROW(stages.UpdateCurrentStage(changed), EInOutError);
        // A switch whose save fails stays on the stage it was on.
        EXPECT_THROW(stages.SwitchStage(1, changed), EInOutError);
    }
    EXPECT_EQ(readText(StageFilePath(file, 2)), stage2);
    EXPECT_EQ(folder.FileCount(), files);  // no temporary file left
    EXPECT_EQ(p.model.CurrentStage, 2);
    EXPECT_EQ(p.model.IncrementLength, 99.0L);

    // Once writing works again the same command succeeds.
    stages.UpdateCurrentStage(changed);
    EXPECT_EQ(wallMark(StageFilePath(file, 2)), 99.0L);
}

TEST(StageFailures, MalformedStageFileShowsTheMessageAndChangesNothing) {
    ScratchFolder folder("malformed");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 2);
    bool changed = false;
    stages.SwitchStage(1, changed);
    p.model.ToggleConcentratedLoads();  // a row of its own in stage 1's model

    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {" Stage No : 2\n1 0 1 0 2 2 0 2 0 0\n75 x 50 1E-5 120 12\n",
         "Error on Line 3 Item 2\rA floating point number was expected but not found."},
        {" Stage No : 2\n1 0 1.5 0 2 2 0 2 0 0\n",
         "Error on Line 2 Item 3\rAn integer was expected but not found."},
        {" Stage No : 2\n1 0 1 0 2 2 0 2 0 0\n", "This file either invalid or incomplete."},
        {"", "This file either invalid or incomplete."},
    };
    const std::string before = FormatStageFile(p.model, 1);
    const int loads = p.tables.BoundCond.RowCount();
    for (const Case& c : cases) {
        writeText(StageFilePath(file, 2), c.text);
        screen.messages.clear();
        p.model.CurrentStage = 2;
        EXPECT_FALSE(stages.LoadStage());
        ASSERT_EQ(screen.messages.size(), 1u) << c.text;
        EXPECT_EQ(screen.messages[0], c.message);
        p.model.CurrentStage = 1;
        EXPECT_EQ(p.model.Title, "New Wall");
        EXPECT_EQ(p.tables.BoundCond.RowCount(), loads);
        EXPECT_EQ(FormatStageFile(p.model, 1), before);
    }

    // A missing stage file is no error: no message, nothing changes.
    fs::remove(StageFilePath(file, 2));
    screen.messages.clear();
    p.model.CurrentStage = 2;
    EXPECT_FALSE(stages.LoadStage());
    EXPECT_TRUE(screen.messages.empty());
    p.model.CurrentStage = 1;
    EXPECT_EQ(FormatStageFile(p.model, 1), before);
}

// A stage whose file cannot be read never takes the data of the stage before: switching to it
// stays on the stage before and says so, and that stage's file is left as it was.
TEST(StageFailures, SwitchingToAStageThatCannotBeReadStaysWhereItIs) {
    ScratchFolder folder("switch_missing");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    makeStaged(p, stages, file, 3);
    bool changed = false;
    stages.SwitchStage(1, changed);
    fs::remove(StageFilePath(file, 3));
    writeText(StageFilePath(file, 2), " Stage No : 2\n1 0 1.5 0 2 2 0 3 0 0\n");
    for (const int stage : {2, 3}) {
        SCOPED_TRACE(stage);
        screen.messages.clear();
        stages.SwitchStage(stage, changed);
        EXPECT_EQ(p.model.CurrentStage, 1);
        ASSERT_FALSE(screen.messages.empty());
        EXPECT_NE(screen.messages.back().find("Stage " + std::to_string(stage) + " cannot be opened"),
                  std::string::npos)
            << screen.messages.back();
        EXPECT_EQ(screen.status, StageStatusText(1));
    }
    EXPECT_FALSE(fs::exists(StageFilePath(file, 3)));  // not made up from stage 1
}

// Save As writes every stage and the data file at the destination and nothing beside the old data
// file, whose folder may no longer take a file (here: the current stage's file is a folder now).
TEST(StageFailures, SaveAsWritesEverythingAtTheDestination) {
    ScratchFolder folder("save_as_elsewhere");
    const fs::path file = folder.path / "wall.dn5d";
    fs::copy_file(kThreeStages, file);
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    CreateFromFile(p.model, file, TDataFileFormat::Current);
    ASSERT_TRUE(stages.OpenStagedDataFile());
    bool changed = false;
    stages.SwitchStage(2, changed);
    p.model.FreeHeight = 110.25L;  // an edit not yet in stage 2's file [in]
    fs::remove(StageFilePath(file, 2));
    fs::create_directory(StageFilePath(file, 2));
    fs::create_directory(folder.path / "elsewhere");
    const fs::path moved = folder.path / "elsewhere" / "wall.dn5d";
    stages.SaveStagedAs(moved);
    EXPECT_EQ(p.model.FileName, moved.string());
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(fs::is_regular_file(StageFilePath(moved, n))) << n;
    EXPECT_NE(readText(StageFilePath(moved, 2)).find(" 110.25 "), std::string::npos);
    EXPECT_NE(readText(moved).find(" 110.25 "), std::string::npos);
    EXPECT_TRUE(fs::is_directory(StageFilePath(file, 2)));  // untouched
}

// A staged data file that holds fewer stages than it names is not opened; a stage 1 title holding
// the stage mark is no stage of its own.
TEST(StageFailures, MissingStagesInTheDataFileAndTheStageMarkInATitle) {
    ScratchFolder folder("missing_stages");
    const std::string text = readText(fs::path(DRENOK_EXAMPLES) / "three_stages.dn5d");
    EXPECT_EQ(SplitStagedText(" Stage No : 1 of the quay wall\n" + text.substr(text.find('\n') + 1)).size(),
              3u);
    const fs::path file = folder.path / "wall.dn5d";
    writeText(file, text.substr(0, text.find(" Stage No : 3")));
    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    CreateFromFile(p.model, file, TDataFileFormat::Current);
    ASSERT_EQ(p.model.StageCount, 3);
    EXPECT_FALSE(stages.OpenStagedDataFile());
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].find("names 3 stages but holds 2"), std::string::npos) << screen.messages[0];
    EXPECT_FALSE(fs::exists(StageFilePath(file, 1)));

    // A stage in SI inside an English file is refused too, not drawn on the English axes.
    std::string mixed = text;
    const std::size_t second = mixed.find(" Stage No : 2");
    const std::size_t control = mixed.find('\n', second) + 1;
    ASSERT_EQ(mixed.compare(control, 2, "1 "), 0);
    mixed[control] = '2';
    writeText(file, mixed);
    CreateFromFile(p.model, file, TDataFileFormat::Current);
    screen.messages.clear();
    EXPECT_FALSE(stages.OpenStagedDataFile());
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(
        screen.messages[0].find("Stage 2 of " + file.string() + " is in SI units and stage 1 in English"),
        std::string::npos)
        << screen.messages[0];
    const auto findings = CheckDataFile(file);
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings.front().where, "Stage 2: units of the stage");
}

TEST(StageReader, AbsentTablesKeepTheirRowsAndShortTablesAreFilled) {
    ScratchFolder folder("reader");
    const fs::path file = folder.path / "wall.dn5d";
    Problem p;
    TStages stages(p.model);
    makeStaged(p, stages, file, 2);  // generated pressure: no distributed-load records
    bool changed = false;
    stages.SwitchStage(1, changed);
    p.tables.DistLoad.SetRowCount(3);
    p.tables.DistLoad.Cell(1, 2).SetFloat(42);
    p.tables.BoundCond.SetRowCount(0);
    p.model.CurrentStage = 2;
    ASSERT_TRUE(stages.LoadStage());
    EXPECT_EQ(p.tables.DistLoad.RowCount(), 3);
    EXPECT_EQ(p.tables.DistLoad.Cell(1, 2).AsFloat(), 42.0L);
    for (const TGridTable* table : p.tables.All())
        EXPECT_GE(table->RowCount(), table->MinRows()) << table->Caption();
    EXPECT_FALSE(IsProblemChanged(false, p.tables));
}

// ---- Older layouts and the examples ----------------------------------------------------------------

// Drops word `index` (0-based) of `line`.
std::string dropWord(const std::string& line, int index) {
    std::istringstream in(line);
    std::string out, word;
    for (int i = 0; in >> word; ++i) {
        if (i == index) continue;
        if (!out.empty()) out.push_back(' ');
        out.append(word);
    }
    return out;
}

TEST(StageOlderLayouts, PreviousLayoutIsConvertedStageByStage) {
    ScratchFolder folder("older");
    Problem source;
    source.model.StageCount = 2;
    source.model.ApplyMomentEI = false;
    std::vector<std::string> current;
    std::string old;
    for (int n = 1; n <= 2; ++n) {
        source.model.IncrementLength = n;
        current.push_back(FormatStageFile(source.model, n));
        // The previous layout: no tieback count, no active width in the wall record.
        auto stage = lines(current.back());
        stage[1] = dropWord(stage[1], 9);
        stage[2] = dropWord(stage[2], 5);
        for (const auto& line : stage)
            old.append(line).push_back('\n');
    }
    const fs::path file = folder.path / "old.dn4d";
    writeText(file, old);

    Problem p;
    Screen screen;
    TStages stages(p.model, screen.Callbacks());
    CreateFromFile(p.model, file, FormatFromExtension(file));
    ASSERT_EQ(p.model.StageCount, 2);
    ASSERT_TRUE(stages.OpenStagedDataFile());
    EXPECT_TRUE(screen.messages.empty());
    for (int n = 1; n <= 2; ++n)
        expectSameRecords(readText(StageFilePath(file, n)), current[static_cast<std::size_t>(n - 1)],
                          std::string("stage ").append(std::to_string(n)));
    EXPECT_EQ(p.model.CurrentStage, 1);
    EXPECT_EQ(p.model.IncrementLength, 1.0L);
    EXPECT_TRUE(p.model.StageFileHasMomentEICount);
    EXPECT_TRUE(p.model.StageFileHasTiebackCount);

    // From then on it behaves like a current one.
    bool changed = false;
    stages.SwitchStage(2, changed);
    EXPECT_EQ(p.model.IncrementLength, 2.0L);
    EXPECT_TRUE(screen.messages.empty());
}

TEST(StageExamples, EveryExampleSurvivesOpenSaveAndReopen) {
    int files = 0;
    int staged = 0;
    for (const auto& entry : fs::directory_iterator(DRENOK_EXAMPLES)) {
        if (entry.path().extension() != ".dn5d") continue;
        ++files;
        const std::string name = entry.path().filename().string();
        ScratchFolder folder(std::string("example_").append(entry.path().stem().string()));
        const fs::path file = folder.path / name;
        fs::copy_file(entry.path(), file);
        const std::string original = readText(file);

        // Opened, every stage visited, saved; then the saved file opened and saved again.
        std::string saved;
        for (int round = 0; round < 2; ++round) {
            Problem p;
            Screen screen;
            TStages stages(p.model, screen.Callbacks());
            ASSERT_NO_THROW(CreateFromFile(p.model, file, TDataFileFormat::Current)) << name;
            if (p.model.StageCount > 1) {
                ASSERT_TRUE(stages.OpenStagedDataFile()) << name;
                bool changed = false;
                for (int n = 2; n <= p.model.StageCount; ++n)
                    stages.SwitchStage(n, changed);
                stages.SwitchStage(1, changed);
                stages.SaveStagedDataFile();
                EXPECT_TRUE(screen.messages.empty()) << name;
                if (round == 0) ++staged;
            } else {
                SaveDataFile(p.model, file);
            }
            if (round == 0) saved = readText(file);
        }
        expectSameRecords(saved, original, name);
        EXPECT_EQ(readText(file), saved) << name;
    }
    EXPECT_GE(files, 10);
    EXPECT_EQ(staged, 1);
}

}  // namespace
}  // namespace app::model
