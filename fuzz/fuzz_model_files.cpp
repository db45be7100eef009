// Arbitrary bytes as a data file (in each of the four layouts), a stage file and a plot-data file,
// read by the desktop program's model: only the word reader's input errors may come out.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/model/data_file.h"
#include "app/model/plot_definitions.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_reader.h"
#include "app/model/word_reader.h"

using namespace app::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    TGridTableRegistry plain, chart;
    TProblemTables tables(plain, chart);
    TProgramData model(tables);
    try {
        switch (data[0] % 6) {
            case 0:
                ReadDataText(model, text, TDataFileFormat::Current, "fuzz.dn5d");
                break;
            case 1:
                ReadDataText(model, text, TDataFileFormat::Previous, "fuzz.dn4d");
                break;
            case 2:
                ReadDataText(model, text, TDataFileFormat::Version30, "fuzz.dnd");
                break;
            case 3:
                ReadDataText(model, text, TDataFileFormat::Version20, "fuzz.dnd");
                break;
            case 4:
                ReadStageText(model, text);
                break;
            default: {
                auto plots = CreatePlotDefinitions();
                TResultsReader reader(*plots, model);
                // Both verdicts of the report on a run that may have stopped.
                (void)reader.ReadResultsText(text, false, (data[0] / 6) % 2 == 1);
                break;
            }
        }
        // A problem that was read must write out again.
        (void)FormatDataFile(model);
    } catch (const EInOutError&) {
        // the reader's message: the expected end of a malformed file
    }
    return 0;
}
