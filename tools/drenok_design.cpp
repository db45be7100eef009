// drenok-design le [--method simplified|full|free-earth] [--fs F] [--fs-on passive|strength]
//                  [--coulomb DELTA] [--increase PERCENT] [--json] wall.dn5d
// The limit-equilibrium embedment of every problem or stage of a data file beside its p-y analysis:
// the fixed-earth method for cantilevers, free-earth support for a wall with one tieback. CSV on
// standard output (JSON with --json). Exit 0 when computed; 1 when a method does not apply or finds
// no solution (the reason on standard error, and in the output); 2 for a usage error or a file that
// cannot be read.

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/design/design_inputs.h"
#include "app/design/limit_equilibrium.h"
#include "app/model/data_file.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/word_reader.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;
using namespace app::design;

constexpr const char* kUsage =
    "usage: drenok-design le [--method simplified|full|free-earth] [--fs F] [--fs-on passive|strength]\n"
    "                        [--coulomb DELTA] [--increase PERCENT] [--json] wall.dn5d\n"
    "  Limit-equilibrium embedment below the excavation of each problem or stage: the fixed-earth\n"
    "  method for cantilevers (simplified, the default, or full), free-earth support for one tieback.\n"
    "  Rankine coefficients unless --coulomb gives the wall friction in degrees; the factor of safety\n"
    "  (default 1) divides the passive resistance, or with --fs-on strength tan(phi) and c.\n";

struct TOptions {
    std::string method;  // empty: by the number of tiebacks
    double fs = 1.0;
    bool onStrength = false;
    double coulomb = -1.0;  // degrees; negative: Rankine
    double increase = 20.0;
    bool json = false;
    fs::path dataFile;
};

bool number(std::string_view text, double& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(value);
}

bool parse(int argc, char** argv, TOptions& o) {
    if (argc < 3 || std::string_view(argv[1]) != "le") return false;
    bool haveFile = false;
    for (int k = 2; k < argc; ++k) {
        const std::string_view a = argv[k];
        auto next = [&](std::string_view& v) {
            if (++k >= argc) return false;
            v = argv[k];
            return true;
        };
        std::string_view v;
        if (a == "--json") {
            o.json = true;
        } else if (a == "--method") {
            if (!next(v) || (v != "simplified" && v != "full" && v != "free-earth")) return false;
            o.method = std::string(v);
        } else if (a == "--fs") {
            if (!next(v) || !number(v, o.fs) || o.fs < 1.0) return false;
        } else if (a == "--fs-on") {
            if (!next(v) || (v != "passive" && v != "strength")) return false;
            o.onStrength = v == "strength";
        } else if (a == "--coulomb") {
            if (!next(v) || !number(v, o.coulomb) || o.coulomb < 0.0 || o.coulomb >= 45.0) return false;
        } else if (a == "--increase") {
            if (!next(v) || !number(v, o.increase) || o.increase < 0.0 || o.increase > 200.0) return false;
        } else if (a.starts_with("-") || haveFile) {
            return false;
        } else {
            o.dataFile = std::string(a);
            haveFile = true;
        }
    }
    return haveFile;
}

std::string shown(double v) {
    return app::model::FormatGeneral(static_cast<long double>(v), 6);
}

std::string jsonText(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') out.push_back('\\');
        if (static_cast<unsigned char>(c) >= 0x20) out.push_back(c);
    }
    return out + "\"";
}

std::string csvText(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

struct TRow {
    std::string problem, method, status;
    TLeResult result;
    double provided = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    if (tools::AskedForHelp(argc, argv)) {
        std::cout << kUsage;
        return 0;
    }
    TOptions o;
    if (!parse(argc, argv, o)) {
        std::cerr << kUsage;
        return 2;
    }
    app::model::TGridTableRegistry plain, chart;
    app::model::TProblemTables tables(plain, chart);
    app::model::TProgramData model(tables);
    try {
        app::model::CreateFromFile(model, o.dataFile, app::model::FormatFromExtension(o.dataFile));
    } catch (const std::exception& e) {
        std::cerr << "drenok-design: " << e.what() << '\n';
        return 2;
    }
    TLeProblem options;
    options.FactorOfSafety = o.fs;
    options.SafetyOn = o.onStrength ? TLeSafety::Strength : TLeSafety::Passive;
    if (o.coulomb >= 0.0) {
        options.Coefficients = TLeCoefficients::Coulomb;
        options.WallFriction = o.coulomb;
    }
    std::vector<TDesignCase> cases;
    try {
        cases = DesignCases(model, o.dataFile, options);
    } catch (const std::exception& e) {
        std::cerr << "drenok-design: " << e.what() << '\n';
        return 2;
    }
    bool failed = false;
    std::vector<TRow> rows;
    for (const TDesignCase& c : cases) {
        TRow row;
        row.problem = c.Name;
        row.provided = c.WallLength - c.Problem.Excavation;
        std::string method = o.method;
        if (method.empty()) method = c.Tiebacks.empty() ? "simplified" : "free-earth";
        row.method = method;
        if (method == "free-earth" && c.Tiebacks.size() != 1) {
            row.status = c.Tiebacks.empty()
                             ? "free-earth support needs a tieback; this problem has none"
                             : "free-earth support takes one tieback; this problem has " +
                                   std::to_string(c.Tiebacks.size()) +
                                   " (the apparent-pressure method they need is not in this version)";
        } else if (method == "free-earth") {
            row.result = FreeEarth(c.Problem, c.Tiebacks.front());
        } else {
            row.result = FixedEarth(c.Problem, method == "full", o.increase / 100.0);
        }
        if (row.status.empty()) row.status = row.result.Solved ? "solved" : row.result.Why;
        for (const std::string& note : c.Notes)
            std::cerr << "drenok-design: " << c.Name << ": " << note << '\n';
        if (!row.result.Solved) {
            failed = true;
            std::cerr << "drenok-design: " << c.Name << ": " << row.status << '\n';
        }
        rows.push_back(std::move(row));
    }
    const TDesignUnits u = DesignUnits(model.UnitSystem());
    if (o.json) {
        std::cout << "{\n  \"units\": {\"length\": " << jsonText(u.Length)
                  << ", \"force_per_width\": " << jsonText(u.ForcePerWidth)
                  << ", \"moment_per_width\": " << jsonText(u.MomentPerWidth) << "},\n  \"problems\": [";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const TRow& r = rows[i];
            const bool solved = r.result.Solved;
            std::cout << (i ? ",\n" : "\n") << "    {\"problem\": " << jsonText(r.problem)
                      << ", \"method\": " << jsonText(r.method) << ", \"status\": " << jsonText(r.status);
            if (solved) {
                std::cout << ", \"embedment_required\": " << shown(r.result.EmbedmentRequired)
                          << ", \"embedment_design\": " << shown(r.result.EmbedmentDesign)
                          << ", \"embedment_provided\": " << shown(r.provided) << ", \"tieback_forces\": ["
                          << (r.method == "free-earth" ? shown(r.result.TiebackForce) : "")
                          << "], \"max_moment\": " << shown(r.result.MaxMoment)
                          << ", \"max_moment_depth\": " << shown(r.result.MaxMomentDepth);
            }
            std::cout << "}";
        }
        std::cout << "\n  ]\n}\n";
    } else {
        std::cout << "problem,method,embedment required (" << u.Length << "),embedment design (" << u.Length
                  << "),embedment provided (" << u.Length << "),tieback force (" << u.ForcePerWidth
                  << "),max moment (" << u.MomentPerWidth << "),at depth (" << u.Length << "),status\n";
        for (const TRow& r : rows) {
            const bool solved = r.result.Solved;
            auto field = [solved](double v) { return solved ? shown(v) : std::string(); };
            std::cout << csvText(r.problem) << ',' << r.method << ',' << field(r.result.EmbedmentRequired)
                      << ',' << field(r.result.EmbedmentDesign) << ',' << shown(r.provided) << ','
                      << (solved && r.method == "free-earth" ? shown(r.result.TiebackForce) : "") << ','
                      << field(r.result.MaxMoment) << ',' << field(r.result.MaxMomentDepth) << ','
                      << csvText(r.status) << '\n';
        }
    }
    std::cout.flush();
    if (!std::cout) return 1;
    return failed ? 1 : 0;
}
