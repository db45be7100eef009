#include "app/model/data_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <limits>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/model/expression.h"
#include "app/model/problem_tables.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"
#include "tests/app/model/model_test_support.h"

namespace app::model {
namespace {

namespace fs = std::filesystem;
using testsupport::Problem;
using testsupport::readText;
using testsupport::writeText;

struct ScratchFolder : testsupport::ScratchFolder {
    explicit ScratchFolder(const std::string& name) : testsupport::ScratchFolder("data_file_test_", name) {}
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void expectLines(const std::string& text, const std::vector<std::string>& expected) {
    const auto lines = splitLines(text);
    ASSERT_EQ(lines.size(), expected.size()) << text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

// ---- Number format, names and command decisions -----------------------------------------------------

TEST(DataFileFormat, RealsAreShortestGeneralFormWithEightDigits) {
    EXPECT_EQ(FormatReal(0.0L), "0");
    EXPECT_EQ(FormatReal(80.0L), "80");
    EXPECT_EQ(FormatReal(0.1L), "0.1");
    EXPECT_EQ(FormatReal(-0.5L), "-0.5");
    EXPECT_EQ(FormatReal(1e-5L), "0.00001");
    EXPECT_EQ(FormatReal(1.5e-6L), "1.5E-6");
    EXPECT_EQ(FormatReal(1e20L), "1E20");
    EXPECT_EQ(FormatReal(12345678.0L), "12345678");
    EXPECT_EQ(FormatReal(123456789.0L), "1.2345679E8");
    EXPECT_EQ(FormatReal(-2.9e9L), "-2.9E9");
    EXPECT_EQ(FormatReal(1.0L / 3.0L), "0.33333333");
}

TEST(DataFileNames, DisplayNameAndWindowTitle) {
    EXPECT_EQ(DisplayName("/data/walls/wall.dn5d"), "Wall.dn5d");
    EXPECT_EQ(DisplayName("/data/old.dnd"), "Old");
    EXPECT_EQ(DisplayName("/data/old.DND"), "Old");
    EXPECT_EQ(DisplayName("x.dn4d"), "X.dn4d");
    EXPECT_EQ(DisplayName("/data/w.dnd"), "w");  // one character keeps its case
    EXPECT_EQ(WindowTitle("/data/wall.dn5d"), "DRENOK 2015.5.2 - Wall.dn5d");
    EXPECT_EQ(ReadMessage("/data/wall.dn5d"), "Data file: Wall.dn5d, has been read by DRENOK 2015");
    EXPECT_EQ(SaveAsDialogTitle("/data/old.dn4d"), "Save Old.dn4d As");
    EXPECT_EQ(SaveAsInitialName("/data/old.dn4d"), "/data/old.dn5d");
}

TEST(DataFileNames, FormatChoiceSaveAsAndCommandLine) {
    EXPECT_EQ(FormatFromFilterIndex(1), TDataFileFormat::Current);
    EXPECT_EQ(FormatFromFilterIndex(2), TDataFileFormat::Previous);
    EXPECT_EQ(FormatFromFilterIndex(3), TDataFileFormat::Version30);
    EXPECT_EQ(FormatFromFilterIndex(4), TDataFileFormat::Version20);
    EXPECT_EQ(FormatFromFilterIndex(5), TDataFileFormat::Version20);
    EXPECT_EQ(FormatFromExtension("a/b.DN4D"), TDataFileFormat::Previous);
    EXPECT_EQ(FormatFromExtension("a/b.dnd"), TDataFileFormat::Version30);
    EXPECT_EQ(FormatFromExtension("a/b.dn5d"), TDataFileFormat::Current);
    EXPECT_EQ(FormatFromExtension("a/b.txt"), TDataFileFormat::Current);

    EXPECT_TRUE(NeedsSaveAs("NewWall.dn5d"));
    EXPECT_TRUE(NeedsSaveAs("/data/old.dn4d"));
    EXPECT_FALSE(NeedsSaveAs("/data/wall.DN5D"));
    EXPECT_EQ(CommandLineDataFile("wall"), "wall.dn4d");
    EXPECT_EQ(CommandLineDataFile("wall.dn5d"), "wall.dn5d");
}

TEST(DataFileSavePrompt, DecidesFromAnswerAndNameAfterSave) {
    Problem p;
    int asked = 0, saved = 0;
    TPromptAnswer answer = TPromptAnswer::Cancel;
    const auto ask = [&](const std::string& question) {
        EXPECT_EQ(question, "Do you want to save any changes?");
        ++asked;
        return answer;
    };
    std::string nameAfterSave = "NewWall.dn5d";
    bool saves = true;
    const auto save = [&] {
        ++saved;
        p.model.FileName = nameAfterSave;
        return saves;
    };

    EXPECT_TRUE(SavePrompt(p.model, false, ask, save));  // unchanged: no question
    EXPECT_EQ(asked, 0);
    // Edits in a chart table do not count as a change.
    p.tables.PYCurves2.Cell(0, 0).SetInt(5);
    EXPECT_FALSE(IsProblemChanged(false, p.tables));
    p.tables.PileSect.Cell(3, 0).SetFloat(1.0L);
    EXPECT_TRUE(IsProblemChanged(false, p.tables));

    EXPECT_FALSE(SavePrompt(p.model, true, ask, save));
    answer = TPromptAnswer::No;
    EXPECT_TRUE(SavePrompt(p.model, true, ask, save));
    EXPECT_EQ(saved, 0);
    answer = TPromptAnswer::Yes;
    EXPECT_FALSE(SavePrompt(p.model, true, ask, save));  // Save As cancelled: name unchanged
    nameAfterSave = "/data/wall.dn5d";
    EXPECT_TRUE(SavePrompt(p.model, true, ask, save));
    EXPECT_EQ(saved, 2);
    EXPECT_EQ(asked, 4);
    saves = false;  // the file changed on disk and the user kept it: nothing saved, nothing discarded
    EXPECT_FALSE(SavePrompt(p.model, true, ask, save));
}

// ---- Writer --------------------------------------------------------------------------------------

TEST(DataFileWriter, NewProblemCarriesSoilBlock) {
    Problem p;
    expectLines(FormatDataFile(p.model), {
                                             "New Wall",
                                             "1 0 1 0 2 2 0 1 0 0",
                                             "0 0 100 0.00001 0 0",
                                             "0 1 1 0",
                                             "0",
                                             "0",
                                             "0 0 0 0 0 1 1 0",
                                             "0 0 0 0 0 0",
                                             "0",
                                             "1",
                                             "1 0",
                                             "0 0 0.0 0 0 0",
                                             "0 0 0.0 0 0 0",
                                             "0",
                                         });
    EXPECT_EQ(p.model.EarthPressureCode, 2);
    EXPECT_EQ(p.model.PYCode, 2);
}

TEST(DataFileWriter, OptionsOffEmptyTablesAndEndAfterSprings) {
    Problem p;
    p.model.ToggleGeneratePY();
    // Rows of switched-off options are not written.
    p.tables.BoundCond.Cell(3, 0).SetFloat(500.0L);
    p.tables.Soillayer.Cell(2, 0).SetFloat(1.0L);
    p.tables.SoilStrength.Cell(3, 0).SetFloat(7.0L);
    p.tables.PYMod.Cell(0, 0).SetFloat(3.0L);
    p.tables.TiebackTable1.Cell(0, 0).SetFloat(4.0L);
    p.tables.PileSect.SetRowCount(2);
    p.tables.PileSect.Cell(2, 1).SetInt(2);
    p.tables.PileSect.Cell(3, 1).SetFloat(2e9L);
    expectLines(FormatDataFile(p.model), {
                                             "New Wall",
                                             "1 0 2 0 0 0 0 1 0 0",
                                             "0 0 100 0.00001 0 0",
                                             "0 1 1 0",
                                             "0 1 1 2E9",  // the last row is made constant
                                             "0",
                                             "0",
                                             "0",
                                         });
    EXPECT_EQ(p.tables.BoundCond.RowCount(), 0);
    EXPECT_EQ(p.tables.SoilStrength.RowCount(), 1);  // kept for the option's return
    EXPECT_EQ(p.tables.PileSect.Cell(2, 1).AsInt(), 1);
}

// Every option on, English units: the conversions of the feet-based tables show in the lines.
void fillAllOptions(Problem& p) {
    TProgramData& m = p.model;
    TProblemTables& t = p.tables;
    m.Title = "All options";
    m.IncrementCount = 50;
    m.IncrementLength = 4;
    m.MaxDeflection = 50;
    m.FreeHeight = 120;
    m.ActiveWidth = 12;
    m.PYWidth = 12;
    m.WaterDepthBackfill = 600;
    m.WaterDepthExcavation = 600;
    m.BackfillSlope = 5;
    m.TopSurcharge = 1.5L;
    m.ApplyRestraints = m.ApplyConcentratedLoads = m.ApplySprings = m.ApplyTiebacks = true;
    m.ApplyPYModification = m.ApplySurcharge = m.ApplyExternalPY = m.ApplyMomentEI = true;
    m.SetEarthPressureChoice(kEarthPressureUser);

    t.Soillayer.Cell(0, 0).SetInt(1);
    t.Soillayer.Cell(2, 0).SetFloat(0.5L);
    t.PileSect.SetRowCount(2);
    t.PileSect.Cell(1, 0).SetInt(25);
    t.PileSect.Cell(2, 0).SetInt(2);
    t.PileSect.Cell(3, 0).SetFloat(1e9L);
    t.PileSect.Cell(0, 1).SetInt(25);
    t.PileSect.Cell(1, 1).SetInt(50);
    t.PileSect.Cell(2, 1).SetInt(2);
    t.PileSect.Cell(3, 1).SetFloat(2e9L);
    t.BoundCond.Cell(2, 0).SetInt(0);
    t.BoundCond.Cell(3, 0).SetFloat(1000);
    t.BoundCond.Cell(5, 0).SetFloat(-50);
    t.SoilStrength.Cell(1, 0).SetInt(10);
    t.SoilStrength.Cell(2, 0).SetInt(12);
    t.SoilStrength.Cell(0, 0).SetInt(2);
    t.SoilStrength.Cell(3, 0).SetFloat(500);
    for (int c = 0; c < 6; ++c)
        t.TiebackTable1.Cell(c, 0).SetFloat(std::vector<long double>{4, 1.25L, 29e6L, 20, 15, 8}[c]);
    t.PYMod.SetRowCount(1);
    t.PYMod.Cell(0, 0).SetFloat(10);  // feet
    t.PYMod.Cell(1, 0).SetFloat(0.5L);
    t.DistLoad.Cell(0, 1).SetFloat(10);   // feet
    t.DistLoad.Cell(1, 1).SetFloat(120);  // lb/ft
    t.SurchargeTable.Cell(0, 0).SetInt(kStripLoad);
    t.SurchargeTable.Cell(1, 0).SetFloat(100);
    t.SurchargeTable.Cell(2, 0).SetFloat(24);
    t.SurchargeTable.Cell(3, 0).SetFloat(36);

    t.NewSoil.SetRowCount(2);
    t.NewSoil.Cell(1, 0).SetFloat(10);
    TGridTable& clay = *t.NewSoil.Column(2).TableAt(0);
    t.NewSoil.Cell(0, 1).SetInt(4);
    t.NewSoil.Cell(1, 1).SetFloat(50);
    TGridTable& sand = *t.NewSoil.Column(2).TableAt(1);
    for (int r = 0; r < 2; ++r) {
        clay.Cell(0, r).SetFloat(110.592L);  // lb/ft³
        clay.Cell(1, r).SetFloat(1440);      // lb/ft²
        clay.Cell(2, r).SetFloat(0.01L);
        clay.Cell(4, r).SetFloat(0.5L);
        sand.Cell(0, r).SetFloat(120.96L);
        sand.Cell(1, r).SetFloat(34);
        sand.Cell(2, r).SetFloat(150);
    }

    t.PYCurves2.SetRowCount(1);
    t.PYCurves2.Cell(0, 0).SetInt(30);
    t.PYCurves2.Cell(3, 0).SetFloat(2);
    TGridTable& curve = *t.PYCurves2.Column(1).TableAt(0);
    curve.Cell(0, 0).SetFloat(-1);
    curve.Cell(1, 0).SetFloat(60);
    curve.Cell(0, 1).SetFloat(1);
    curve.Cell(1, 1).SetFloat(-60);

    t.MEICurves2.Cell(1, 0).SetInt(50);
    TGridTable& mei = *t.MEICurves2.Column(2).TableAt(0);
    mei.SetRowCount(2);
    mei.Cell(1, 0).SetFloat(1e9L);
    mei.Cell(0, 1).SetFloat(1e6L);
    mei.Cell(1, 1).SetFloat(5e8L);
}

const std::vector<std::string> kAllOptionsLines = {
    "All options",
    "1 1 2 1 1 2 1 1 1 1",
    "50 4 50 0.00001 120 12",
    "1 0 0.5 0",
    "0 25 2 1E9",
    "25 50 1 2E9",
    "1",
    "1 0 0 1000 0 -50",
    "1",
    "10 12 2 500 0",
    "4 1.25 29000000 20 15 8",
    "120 0.5 1",
    "2",
    "0 0",
    "120 10",
    "120 12 12 600 600 1 1 5",
    "1.5 0 0 0 0 0",
    "1",
    "3 100 24 36",
    "2",
    "1 120",
    "0.064 10 0.0 0.01 0 0.5",
    "0.064 10 0.0 0.01 0 0.5",
    "4 600",
    "0.07 0.0 34 0.0 150 0",
    "0.07 0.0 34 0.0 150 0",
    "30 2 1 2",
    "-1 60",
    "1 -60",
    "0 50 2",
    "0 1E9",
    "1000000 5E8",
    "0",
};

TEST(DataFileWriter, AllOptionsOnInEnglishUnits) {
    Problem p;
    fillAllOptions(p);
    expectLines(FormatDataFile(p.model), kAllOptionsLines);
}

TEST(DataFileWriter, AllOptionsReadBackToTheSameModel) {
    Problem p;
    fillAllOptions(p);
    const std::string written = FormatDataFile(p.model);
    Problem q;
    ReadDataText(q.model, written, TDataFileFormat::Current, "/data/all.dn5d");
    const TProgramData& m = q.model;
    EXPECT_TRUE(m.UserEarthPressure && m.ApplyRestraints && m.ApplyConcentratedLoads && m.ApplySprings);
    EXPECT_TRUE(m.ApplyTiebacks && m.ApplyPYModification && m.ApplySurcharge && m.ApplyExternalPY);
    EXPECT_TRUE(m.ApplyMomentEI);
    EXPECT_EQ(m.GeneratePY, 1);
    EXPECT_EQ(m.EarthPressureChoice, kEarthPressureUser);
    EXPECT_DOUBLE_EQ(static_cast<double>(q.tables.PYMod.Cell(0, 0).AsFloat()), 10.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(q.tables.DistLoad.Cell(1, 1).AsFloat()), 120.0);
    EXPECT_EQ(q.tables.NewSoil.Cell(0, 1).AsInt(), 4);
    EXPECT_DOUBLE_EQ(static_cast<double>(q.tables.NewSoil.Column(2).TableAt(0)->Cell(1, 1).AsFloat()),
                     1440.0);
    EXPECT_EQ(q.tables.SoilStrength.Cell(0, 0).AsInt(), 2);
    EXPECT_EQ(q.tables.SoilStrength.Cell(2, 0).AsInt(), 12);
    EXPECT_FALSE(IsProblemChanged(false, q.tables));
    expectLines(FormatDataFile(q.model), kAllOptionsLines);
}

TEST(DataFileWriter, LongTermAndStageFiles) {
    Problem p;
    p.model.ToggleLongTerm();
    p.model.SetEarthPressureChoice(kEarthPressureTrapezoidal);
    p.tables.NewSoil.Cell(1, 0).SetFloat(10);   // 120 in
    p.tables.LongSoil.Cell(1, 0).SetFloat(20);  // 240 in
    const std::vector<std::string> soil = {"0 0 0 0 0 1 1 0", "0 0 0 0 0 0", "0", "1"};
    std::vector<std::string> expected = {
        "New Wall", "1 0 1 0 3 2 0 1 0 0", "0 0 100 0.00001 0 0", "0 1 1 0", "0", "0"};
    expected.insert(expected.end(), soil.begin(), soil.end());
    // The long-term problem keeps the apparent pressure too.
    expected.insert(expected.end(), {"1 120", "0 0 0.0 0 0 0", "0 0 0.0 0 0 0", "9", "New Wall",
                                     "1 0 1 0 3 2 0 1 0 0", "0 0 100 0.00001 0 0", "0 1 1 0", "0", "0"});
    expected.insert(expected.end(), soil.begin(), soil.end());
    expected.insert(expected.end(), {"1 240", "0 0 0.0 0 0 0", "0 0 0.0 0 0 0", "0"});
    expectLines(FormatDataFile(p.model), expected);

    p.model.StageCount = 3;
    const auto stage2 = splitLines(FormatStageFile(p.model, 2));
    ASSERT_EQ(stage2.size(), 14u);
    EXPECT_EQ(stage2[0], " Stage No : 2");
    EXPECT_EQ(stage2[1], "1 0 1 0 3 2 0 3 0 0");  // every stage keeps its own choice
    EXPECT_EQ(stage2.back(), "2");
    EXPECT_EQ(splitLines(FormatStageFile(p.model, 1))[0], "New Wall");
}

// The control records of a data file's problems: the lines that follow each title.
std::vector<std::string> controlRecords(const std::string& text) {
    const auto all = splitLines(text);
    std::vector<std::string> records;
    for (std::size_t i = 0; i + 1 < all.size(); ++i)
        if (i == 0 || all[i] == "9") records.push_back(all[i == 0 ? 1 : i + 2]);
    return records;
}

TEST(DataFileReader, LongTermProblemsKeepTheirEarthPressureChoice) {
    // Apparent pressure in both problems, and in the short-term problem only (as older files have it).
    for (const char* longTerm : {"3", "2"}) {
        const std::string problem =
            std::string("1 0 1 0 X 0 0 1 0 0\n10 1 100 1E-5 5 12\n0 10 1 1E6\n0\n0\n") +
            "5 12 12 0 0 1 1 0\n0 0 0 0 0 0\n0\n1\n4 20\n0.07 0 30 0 100 0\n"
            "0.07 0 30 0 100 0\n";
        std::string text = "Wall\n" + problem + "9\nWall\n" + problem + "0\n";
        text.replace(text.find('X'), 1, "3");
        text.replace(text.find('X'), 1, longTerm);
        Problem p;
        ReadDataText(p.model, text, TDataFileFormat::Current, "/data/w.dn5d");
        EXPECT_EQ(p.model.EarthPressureChoice, kEarthPressureTrapezoidal);
        EXPECT_EQ(p.model.EarthPressureCode, kEarthPressureTrapezoidal);
        const auto records = controlRecords(FormatDataFile(p.model));
        ASSERT_EQ(records.size(), 2u) << longTerm;
        EXPECT_EQ(records[0], "1 0 1 0 3 0 0 1 0 0");
        EXPECT_EQ(records[1], std::string("1 0 1 0 ") + longTerm + " 0 0 1 0 0");
        // A choice made in the Options menu is the choice of both problems.
        p.model.SetEarthPressureChoice(kEarthPressureTriangular);
        const auto chosen = controlRecords(FormatDataFile(p.model));
        EXPECT_EQ(chosen[0], "1 0 1 0 2 0 0 1 0 0");
        EXPECT_EQ(chosen[1], "1 0 1 0 2 0 0 1 0 0");
    }
}

TEST(DataFileReader, ReadsRecordsAsTheEngineDoes) {
    // Commas between values, notes after a record, a record over two lines, D exponents.
    const std::string text =
        "Free-form wall\n1, 1, 1, 0, 0, 0, 0, 1, 0, 0    ! options\n40,1,100,1D-5, 0 12  wall\n"
        "3 40 0 0 fixed tip\n0 40\n 1 1E6\n1 load follows\n1 0 0 1000 0 0 at the top\n0 springs\n0 end\n";
    Problem p;
    ReadDataText(p.model, text, TDataFileFormat::Current, "/data/w.dn5d");
    EXPECT_EQ(p.model.Title, "Free-form wall");
    EXPECT_EQ(p.model.IncrementCount, 40);
    EXPECT_EQ(p.model.DeflectionTolerance, 1e-5L);
    EXPECT_EQ(p.tables.Soillayer.RowCount(), 1);
    EXPECT_EQ(p.tables.PileSect.Cell(3, 0).AsFloat(), 1e6L);
    EXPECT_EQ(p.tables.BoundCond.Cell(3, 0).AsFloat(), 1000.0L);
    // Saved, it is the nine-line cantilever in the current layout.
    expectLines(FormatDataFile(p.model), {"Free-form wall", "1 1 1 0 0 0 0 1 0 0", "40 1 100 0.00001 0 12",
                                          "3 40 0 0", "0 40 1 1000000", "1", "1 0 0 1000 0 0", "0", "0"});

    // An older layout is still a stream of words: its records need not end their lines.
    Problem old;
    ReadDataText(old.model, "Old\n1 0 1 0 0 0 0 1 0\n10 1 100 1E-5 0\n0 10 1 1E6 0\n0\n0\n",
                 TDataFileFormat::Previous, "/data/w.dn4d");
    EXPECT_EQ(old.tables.PileSect.Cell(3, 0).AsFloat(), 1e6L);
}

TEST(DataFileWriter, SwitchedOffSpringsAreNotWrittenButKept) {
    Problem p;
    p.model.ToggleGeneratePY();
    p.model.ToggleSprings();
    p.tables.SoilStrength.Cell(1, 0).SetInt(10);
    p.tables.SoilStrength.Cell(3, 0).SetFloat(7.0L);
    p.model.ToggleSprings();  // off
    const auto off = splitLines(FormatDataFile(p.model));
    EXPECT_EQ(off[5], "0");  // no springs act in the engine
    EXPECT_EQ(p.tables.SoilStrength.RowCount(), 1);
    p.model.ToggleSprings();  // on again: the row is back and written
    const auto on = splitLines(FormatDataFile(p.model));
    EXPECT_EQ(on[5], "1");
    EXPECT_EQ(on[6], "10 0 1 7 0");
}

// ---- Engine examples -----------------------------------------------------------------------------

// Records compared value by value: the title as text, every other field as a number.
void expectSameRecords(const std::vector<std::string>& actual, const std::vector<std::string>& expected,
                       const std::string& name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(actual[0], expected[0]) << name;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        TWordReader a(actual[i]), e(expected[i]);
        long double first = 0;
        if (e.AtEnd() || !TWordReader::ParseReal(TWordReader(expected[i]).ReadWord(), first)) {
            // A title record (of a long-term problem or a later stage).
            EXPECT_EQ(actual[i], expected[i]) << name << " line " << i + 1;
            continue;
        }
        while (!e.AtEnd()) {
            ASSERT_FALSE(a.AtEnd()) << name << " line " << i + 1 << ": " << actual[i] << " | " << expected[i];
            EXPECT_EQ(static_cast<double>(a.ReadReal()), static_cast<double>(e.ReadReal()))
                << name << " line " << i + 1 << ": " << actual[i] << " | " << expected[i];
        }
        EXPECT_TRUE(a.AtEnd()) << name << " line " << i + 1;
    }
}

TEST(DataFileExamples, ReadAndWriteBackToTheSameRecords) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(DRENOK_EXAMPLES)) {
        if (entry.path().extension() != ".dn5d") continue;
        ++files;
        const std::string name = entry.path().filename().string();
        auto original = splitLines(readText(entry.path()));
        while (!original.empty() && original.back().empty())
            original.pop_back();
        Problem p;
        ASSERT_NO_THROW(CreateFromFile(p.model, entry.path(), FormatFromExtension(entry.path()))) << name;
        EXPECT_EQ(p.model.FileName, entry.path().string());

        if (p.model.StageCount > 1) {
            // The model holds stage 1; it is written back as that stage's file.
            std::vector<std::string> stage1;
            for (const auto& line : original) {
                if (line.find(" Stage No :") != std::string::npos) break;
                stage1.push_back(line);
            }
            expectSameRecords(splitLines(FormatStageFile(p.model, 1)), stage1, name);
            continue;
        }
        // A long-term problem shares the wall, loads and p-y curves of the short-term one and has
        // its own soil and distributed loads, so it writes back to the same records as well.
        const std::string written = FormatDataFile(p.model);
        expectSameRecords(splitLines(written), original, name);

        // What the writer produced reads back to the same text.
        Problem q;
        ReadDataText(q.model, written, TDataFileFormat::Current, name);
        EXPECT_EQ(FormatDataFile(q.model), written) << name;
    }
    EXPECT_GE(files, 10);
}

TEST(DataFileExamples, UnitsAndFlagsOfReadFiles) {
    Problem p;
    CreateFromFile(p.model, fs::path(DRENOK_EXAMPLES) / "anchored_si_generated.dn5d",
                   TDataFileFormat::Current);
    EXPECT_EQ(p.model.UnitSystem(), kUnitsSI);
    EXPECT_EQ(p.tables.NewSoil.Units(), kUnitsSI);
    EXPECT_TRUE(p.model.GeneratedEarthPressureRead);
    EXPECT_EQ(p.model.EarthPressureChoice, 3);
    EXPECT_TRUE(p.model.ApplyTiebacks);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.tables.NewSoil.Cell(1, 1).AsFloat()), 20.0);  // SI: not converted

    CreateFromFile(p.model, fs::path(DRENOK_EXAMPLES) / "generated_sand.dn5d", TDataFileFormat::Current);
    EXPECT_EQ(p.model.UnitSystem(), kUnitsEnglish);
    EXPECT_EQ(p.tables.NewSoil.RowCount(), 2);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.tables.NewSoil.Cell(1, 0).AsFloat()), 10.0);  // 120 in → ft
    const TGridTable& sand = *p.tables.NewSoil.Column(2).TableAt(0);
    EXPECT_NEAR(static_cast<double>(sand.Cell(0, 0).AsFloat()), 0.0694 * 1728, 1e-9);
    EXPECT_FALSE(p.model.ApplyTiebacks);
    EXPECT_FALSE(p.model.ApplyRestraints);
}

// ---- Older layouts -------------------------------------------------------------------------------

TEST(DataFileOlderLayouts, PreviousLayoutWithoutTiebackCount) {
    const std::string text =
        "Old wall\n1 0 1 0 2 2 1 1 0\n40 1 100 1E-5 24\n0 40 1 1E6\n0\n0\n"
        "24 12 12 300 300 0.036 1 0\n0 0 0 0 0 0\n1\n2 50 36 0\n"
        "1\n4 480\n0.0694 0 34 0 150 0\n0.0694 0 34 0 150 0\n"
        "20 2 0.5 2\n-1 10\n1 -10\n0\n";
    Problem p;
    ReadDataText(p.model, text, TDataFileFormat::Previous, "old.dn4d");
    const TProgramData& m = p.model;
    EXPECT_EQ(m.Title, "Old wall");
    EXPECT_EQ(m.TiebackCount, 0);
    EXPECT_FALSE(m.ApplyTiebacks);
    EXPECT_EQ(m.ActivePressureFactor, 1.0L);  // 0.036 stands for unmodified
    EXPECT_EQ(m.ActiveWidth, 12.0L);
    EXPECT_TRUE(m.ApplySurcharge);
    EXPECT_EQ(p.tables.SurchargeTable.Cell(0, 0).AsInt(), kLineLoad);
    EXPECT_EQ(p.tables.SurchargeTable.Cell(2, 0).AsFloat(), 36.0L);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.tables.NewSoil.Cell(1, 0).AsFloat()), 40.0);
    EXPECT_EQ(p.tables.PYCurves2.Cell(0, 0).AsInt(), 20);
    EXPECT_EQ(p.tables.PYCurves2.Cell(2, 0).AsFloat(), 0.5L);
    EXPECT_EQ(p.tables.PYCurves2.Cell(3, 0).AsFloat(), 2.0L);
    EXPECT_EQ(p.tables.PYCurves2.Column(1).TableAt(0)->Cell(1, 1).AsFloat(), -10.0L);
    // Written in the current layout: tieback count and active width appear.
    const auto lines = splitLines(FormatDataFile(p.model));
    EXPECT_EQ(lines[1], "1 0 1 0 2 2 1 1 0 0");
    EXPECT_EQ(lines[2], "40 1 100 0.00001 24 12");
    EXPECT_EQ(lines[6], "24 12 12 300 300 1 1 0");
}

TEST(DataFileOlderLayouts, Version30LegacySurchargeAndNoMultipliers) {
    const std::string text =
        "Version three\n1 0 1 0 2 2 1 1\n40 1 100 1E-5 24\n0 40 1 1E6\n0\n0\n"
        "24 12 12 300 300 1 1 0\n0 36 1000 50 2 24\n"
        "2\n1 120\n0.0637 5 0 0.02 0 0\n0.0637 5 0 0.02 0 0\n"
        "5 480\n0.07 3 30 0.01 100 0.4\n0.08 4 31 0.02 110 0.5\n"
        "20 2\n-1 10\n1 -10\n0\n";
    Problem p;
    ReadDataText(p.model, text, TDataFileFormat::Version30, "three.dnd");
    const TGridTable& s = p.tables.SurchargeTable;
    ASSERT_EQ(s.RowCount(), 3);
    const long double magnitudes[] = {1000, 50, 2};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(s.Cell(0, r).AsInt(), r + 1);
        EXPECT_EQ(s.Cell(1, r).AsFloat(), magnitudes[r]);
        EXPECT_EQ(s.Cell(2, r).AsFloat(), 36.0L);
        EXPECT_EQ(s.Cell(3, r).AsFloat(), 24.0L);
    }
    EXPECT_EQ(p.model.MomentEISetCount, 0);
    EXPECT_EQ(p.tables.PYCurves2.Cell(2, 0).AsFloat(), 1.0L);
    EXPECT_EQ(p.tables.PYCurves2.Cell(3, 0).AsFloat(), 1.0L);
    // Silt: slot 2 is the cohesion, slot 3 the friction angle; top and bottom rows differ.
    const TGridTable& silt = *p.tables.NewSoil.Column(2).TableAt(1);
    EXPECT_EQ(silt.Caption(), "Silt");
    EXPECT_DOUBLE_EQ(static_cast<double>(silt.Cell(2, 0).AsFloat()), 3.0 * 144);
    EXPECT_EQ(silt.Cell(1, 0).AsFloat(), 30.0L);
    EXPECT_EQ(silt.Cell(1, 1).AsFloat(), 31.0L);
    EXPECT_EQ(silt.Cell(5, 1).AsFloat(), 0.5L);
}

TEST(DataFileOlderLayouts, Version20ThicknessesAndOneRowPerLayer) {
    const std::string text =
        "Version two\n1 0 1 0 2 2 0 1\n40 1 100 1E-5 24\n0 40 1 1E6\n0\n0\n"
        "24 12 12 300 300 1 1 0\n0 0 0 0 0 0\n"
        "2\n1 10\n0.0637 5 7 0.02 0\n4 20\n0.0694 9 34 9 150\n";
    Problem p;
    ReadDataText(p.model, text, TDataFileFormat::Version20, "two.dnd");
    const TGridTable& soil = p.tables.NewSoil;
    ASSERT_EQ(soil.RowCount(), 2);
    EXPECT_EQ(soil.Cell(1, 0).AsFloat(), 10.0L);
    EXPECT_EQ(soil.Cell(1, 1).AsFloat(), 30.0L);  // running sum, not converted
    const TGridTable& clay = *soil.Column(2).TableAt(0);
    const TGridTable& sand = *soil.Column(2).TableAt(1);
    EXPECT_EQ(sand.Caption(), "Sand");
    for (int r = 0; r < 2; ++r) {
        EXPECT_DOUBLE_EQ(static_cast<double>(clay.Cell(1, r).AsFloat()), 5.0 * 144);
        EXPECT_EQ(clay.Cell(2, r).AsFloat(), 0.02L);
        EXPECT_EQ(sand.Cell(1, r).AsFloat(), 34.0L);  // the ignored slots 2 and 4 hold 9
        EXPECT_EQ(sand.Cell(2, r).AsFloat(), 150.0L);
    }
    EXPECT_FALSE(p.model.LongTerm);
}

// ---- Malformed files -----------------------------------------------------------------------------

TEST(DataFileMalformed, MessageOfTheWordReaderAndModelUnchanged) {
    const std::string good = readText(fs::path(DRENOK_EXAMPLES) / "generated_sand.dn5d");
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {good.substr(0, good.size() / 2), "This file either invalid or incomplete."},
        {"T\n1 0 1 0 2 2 0 1 0 0\n75 x 50 1E-5 120 12\n",
         "Error on Line 3 Item 2\rA floating point number was expected but not found."},
        {"T\n1 0 1.5 0 2 2 0 1 0 0\n", "Error on Line 2 Item 3\rAn integer was expected but not found."},
        // A value the engine would read as infinity, as an earlier program saved 1e999.
        {"T\n1 0 1 0 2 2 0 1 0 0\n75 1E999 50 1E-5 120 12\n",
         "Error on Line 3 Item 2\rThe number is too large for a data file (at most 1.79769E308)."},
        {"", "This file either invalid or incomplete."},
        {"T\n1 0 0 0 0 0 0 1 0 0\n1 1 1 1 0 0\n0\n0\n",
         "This file either invalid or incomplete."},  // no marker
        {"T\n1 0 0 0 2 0 0 1 0 0\n1 1 1 1 0 0\n0\n0\n0 0 0 0 0 1 1 0\n0 0 0 0 0 0\n0\n1\n9 10\n",
         "This file either invalid or incomplete."},  // soil type out of range
        {"T\n1 2000000000 0 0 0 0 0 1 0 0\n1 1 1 1 0 0\n", "This file either invalid or incomplete."},
    };
    for (const Case& c : cases) {
        Problem p;
        fillAllOptions(p);
        p.model.FileName = "/data/kept.dn5d";
        const std::string before = FormatDataFile(p.model);
        try {
            ReadDataText(p.model, c.text, TDataFileFormat::Current, "/data/bad.dn5d");
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(p.model.FileName, "/data/kept.dn5d");
        EXPECT_EQ(p.model.Title, "All options");
        EXPECT_EQ(FormatDataFile(p.model), before);
    }
}

// A save keeps the file's mode and saves through a symbolic link to its target, the link kept.
TEST(DataFileSafeWrite, ModeAndLinksAreKept) {
    ScratchFolder folder("mode_and_links");
    Problem p;
    fillAllOptions(p);
    const fs::path target = folder.path / "wall.dn5d";
    writeText(target, "old\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    SaveDataFile(p.model, target);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const fs::path link = folder.path / "link.dn5d";
    fs::create_symlink(target, link);
    p.model.Title = "Through the link";
    SaveDataFile(p.model, link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readText(target), FormatDataFile(p.model));
    EXPECT_EQ(folder.FileCount(), 2U);  // no temporary left

    // A hard link keeps sharing the file: both names see the save.
    const fs::path second = folder.path / "second.dn5d";
    fs::create_hard_link(target, second);
    p.model.Title = "Through a hard link";
    SaveDataFile(p.model, second);
    EXPECT_EQ(fs::hard_link_count(target), 2U);
    EXPECT_EQ(readText(target), FormatDataFile(p.model));
    EXPECT_EQ(fs::status(second).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folder.FileCount(), 3U);
}

// The longest names the file system takes are saved too (the temporary copy has a shorter name).
TEST(DataFileSafeWrite, LongestFileNamesAreSaved) {
    ScratchFolder folder("long_names");
    Problem p;
    fillAllOptions(p);
    const fs::path path = folder.path / (std::string(250, 'w') + ".dn5d");
    SaveDataFile(p.model, path);
    EXPECT_EQ(readText(path), FormatDataFile(p.model));
    EXPECT_EQ(folder.FileCount(), 1U);
}

// A value that is not finite never reaches the file: the save is refused naming the field, and the
// file on disk stays as it was.
TEST(DataFileSafeWrite, NonFiniteValuesAreNeverWritten) {
    ScratchFolder folder("non_finite");
    const fs::path path = folder.path / "wall.dn5d";
    Problem p;
    fillAllOptions(p);
    SaveDataFile(p.model, path);
    const std::string before = readText(path);
    p.model.IncrementLength = 1e999L;
    try {
        SaveDataFile(p.model, path);
        ADD_FAILURE() << "saved";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("Wall Properties, Increment Length"), std::string::npos)
            << e.what();
    }
    p.model.IncrementLength = 4.0L;
    p.tables.PileSect.Cell(3, 0).SetFloat(std::numeric_limits<long double>::infinity());
    EXPECT_THROW(SaveDataFile(p.model, path), EInOutError);
    EXPECT_THROW((void)FormatDataFile(p.model), EInOutError);
    EXPECT_EQ(readText(path), before);
}

TEST(DataFileMalformed, MissingFileIsAnInputError) {
    Problem p;
    EXPECT_THROW(CreateFromFile(p.model, "/nonexistent/folder/x.dn5d", TDataFileFormat::Current),
                 EInOutError);
    EXPECT_EQ(p.model.FileName, "NewWall.dn5d");
}

// ---- Safe writing --------------------------------------------------------------------------------

TEST(DataFileSafeWrite, SaveReplacesTheFileAndClearsChanges) {
    ScratchFolder folder("save");
    const fs::path file = folder.path / "wall.dn5d";
    writeText(file, "old content\n");
    Problem p;
    p.tables.PileSect.Cell(3, 0).SetFloat(1e6L);
    ASSERT_TRUE(IsProblemChanged(false, p.tables));
    SaveDataFile(p.model, file);
    EXPECT_EQ(readText(file), FormatDataFile(p.model));
    EXPECT_FALSE(IsProblemChanged(false, p.tables));
    EXPECT_EQ(folder.FileCount(), 1u);  // no temporary file left
}

TEST(DataFileSafeWrite, FailedWritesLeaveThePreviousFile) {
    ScratchFolder folder("fail");
    const fs::path file = folder.path / "wall.dn5d";
    writeText(file, "previous\n");

    // A failure while the text is produced.
    EXPECT_THROW(WriteFileAtomically(file,
                                     [](std::ostream& out) {
                                         out << "half a fi";
                                         throw std::runtime_error("disk full");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(readText(file), "previous\n");
    EXPECT_EQ(folder.FileCount(), 1u);

    // The rename cannot replace a folder: the operating system refuses.
    const fs::path blocked = folder.path / "blocked.dn5d";
    fs::create_directories(blocked / "inside");
    Problem p;
    p.tables.PileSect.Cell(3, 0).SetFloat(1e6L);
    EXPECT_THROW(SaveDataFile(p.model, blocked), EInOutError);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_EQ(folder.FileCount(), 2u);
    EXPECT_TRUE(IsProblemChanged(false, p.tables));  // not saved, still changed

    // No folder to write into.
    EXPECT_THROW(SaveDataFile(p.model, folder.path / "missing" / "w.dn5d"), EInOutError);

    // No room for the whole file (a file-size limit stands in for a full disk): the message says
    // why, and neither the file nor a cut temporary is left changed.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        WriteFileAtomically(file, [](std::ostream& out) { out << std::string(8192, 'x'); });
    } catch (const EInOutError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;
    EXPECT_EQ(readText(file), "previous\n");
    EXPECT_EQ(folder.FileCount(), 2u);
}

// A soil type no choice names is refused at entry, so the writer never produces a layer that the
// reader cannot take back; a stage file's last integer only says whether a long-term case belongs.
TEST(DataFileConsistency, UnknownSoilTypesAndStageMarkers) {
    Problem p;
    TGridTable& soil = p.tables.NewSoil;
    ASSERT_GE(soil.RowCount(), 1);
    try {
        soil.Cell(0, 0).SetText("9");
        ADD_FAILURE() << "soil type 9 was accepted";
    } catch (const EAssignError& e) {
        EXPECT_NE(std::string(e.what()).find("Entry must be between 1 and 7."), std::string::npos)
            << e.what();
    }
    soil.Cell(0, 0).SetText("7");
    EXPECT_EQ(soil.Cell(0, 0).AsInt(), 7);

    std::string stage = FormatStageFile(p.model, 1);
    const std::size_t last = stage.find_last_not_of("\r\n");
    const std::size_t start = stage.find_last_of('\n', last) + 1;
    Problem longTerm;
    ReadStageText(longTerm.model, stage.substr(0, start) + "9\n");
    EXPECT_TRUE(longTerm.model.LongTerm);
    Problem shortOnly;
    ReadStageText(shortOnly.model, stage.substr(0, start) + "1\n");
    EXPECT_FALSE(shortOnly.model.LongTerm);
}

}  // namespace
}  // namespace app::model
