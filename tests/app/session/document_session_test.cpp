// The whole path a user takes, with no window: open an example, edit the problem through the model,
// save, run the real engine, read the results and look at a graph's curve.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/session/document_controller.h"

namespace app::session {
namespace {

struct Session {
    std::vector<std::string> messages;
    TDocumentController document{ports(), QStringLiteral(DRENOK_ENGINE_DIR)};

    TDocumentPorts ports() {
        TDocumentPorts p;
        p.ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        return p;
    }
};

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
    const QString data = folder.filePath(QStringLiteral("wall.dn5d"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DRENOK_EXAMPLES "/sand_cantilever_triangular.dn5d"), data));
    QFile(data).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const std::string path = data.toStdString();

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

}  // namespace
}  // namespace app::session
