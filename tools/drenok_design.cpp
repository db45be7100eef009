// drenok-design le [--method simplified|full|free-earth] [--fs F] [--fs-on passive|strength]
//                  [--coulomb DELTA] [--increase PERCENT] [--json] wall.dn5d
// The limit-equilibrium embedment of every problem or stage of a data file beside its p-y analysis:
// the fixed-earth method for cantilevers, free-earth support for a wall with one tieback. CSV on
// standard output (JSON with --json). Exit 0 when computed; 1 when a method does not apply or finds
// no solution (the reason on standard error, and in the output); 2 for a usage error or a file that
// cannot be read.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/design/design_inputs.h"
#include "app/design/embedment_sweep.h"
#include "app/design/limit_equilibrium.h"
#include "app/design/sections.h"
#include "app/model/data_file.h"
#include "app/model/number_format.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/results_summary.h"
#include "app/model/word_reader.h"
#include "usage.h"

namespace {

namespace fs = std::filesystem;
using namespace app::design;

constexpr const char* kUsage =
    "usage: drenok-design le [--method simplified|full|free-earth|apparent] [--fs F] [--fs-on "
    "passive|strength]\n"
    "                        [--coulomb DELTA] [--increase PERCENT] [--json] wall.dn5d\n"
    "       drenok-design sweep --from D1 --to D2 --step S [--limit Y] [-j N] [--json] wall.dn5d\n"
    "       drenok-design section [--catalogue FILE] [--section NAME] [--grade NAME | --fy F]\n"
    "                             [--limit H/100|H/150|H/200|Y] [-j N] [--json] wall.dn5d\n"
    "  Limit-equilibrium embedment below the excavation of each problem or stage: the fixed-earth\n"
    "  method for cantilevers (simplified, the default, or full), free-earth support for one tieback,\n"
    "  the apparent-pressure method for two or more.\n"
    "  Rankine coefficients unless --coulomb gives the wall friction in degrees; the factor of safety\n"
    "  (default 1) divides the passive resistance, or with --fs-on strength tan(phi) and c.\n"
    "  sweep: the p-y analysis with the wall lengthened or shortened to each embedment below the\n"
    "  excavation (feet or metres), N runs at once (default 2); the shortest embedment from which every\n"
    "  longer one converges, with the top deflection within Y (inches or mm) when given.\n"
    "  section: the p-y analysis with each steel sheet-pile section of the catalogue (or FILE, or the\n"
    "  one named), its bending utilisation M / (W fy) (grade S355GP unless given; --fy in MPa) and top\n"
    "  deflection against the limit (H/150 unless given; H the excavation depth); which sections pass.\n";

struct TOptions {
    bool section = false;
    std::string catalogue, sectionName, grade = "S355GP", deflectionLimit = "H/150";
    double fy = -1.0;  // MPa; negative: from the grade
    bool sweep = false;
    double from = 0.0, to = -1.0, step = 0.0;
    double limit = -1.0;  // negative: none
    int jobs = 2;
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
    if (argc < 3) return false;
    const std::string_view command = argv[1];
    if (command != "le" && command != "sweep" && command != "section") return false;
    o.sweep = command == "sweep";
    o.section = command == "section";
    bool haveFrom = false, haveTo = false, haveStep = false;
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
        } else if (o.sweep && a == "--from") {
            if (!next(v) || !number(v, o.from) || o.from <= 0.0) return false;
            haveFrom = true;
        } else if (o.sweep && a == "--to") {
            if (!next(v) || !number(v, o.to) || o.to <= 0.0) return false;
            haveTo = true;
        } else if (o.sweep && a == "--step") {
            if (!next(v) || !number(v, o.step) || o.step <= 0.0) return false;
            haveStep = true;
        } else if (o.sweep && a == "--limit") {
            if (!next(v) || !number(v, o.limit) || o.limit <= 0.0) return false;
        } else if (o.section && a == "--limit") {
            double value = 0.0;
            if (!next(v) ||
                !(v == "H/100" || v == "H/150" || v == "H/200" || (number(v, value) && value > 0.0)))
                return false;
            o.deflectionLimit = std::string(v);
        } else if (o.section && a == "--catalogue") {
            if (!next(v)) return false;
            o.catalogue = std::string(v);
        } else if (o.section && a == "--section") {
            if (!next(v)) return false;
            o.sectionName = std::string(v);
        } else if (o.section && a == "--grade") {
            if (!next(v) || !SteelGrade(std::string(v))) return false;
            o.grade = std::string(v);
        } else if (o.section && a == "--fy") {
            if (!next(v) || !number(v, o.fy) || o.fy <= 0.0 || o.fy > 2000.0) return false;
        } else if ((o.sweep || o.section) && a == "-j") {
            double jobs = 0.0;
            if (!next(v) || !number(v, jobs) || jobs < 1.0 || jobs > 64.0 || jobs != std::floor(jobs))
                return false;
            o.jobs = static_cast<int>(jobs);
        } else if (a == "--method") {
            if (!next(v) || (v != "simplified" && v != "full" && v != "free-earth" && v != "apparent"))
                return false;
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
    if (o.sweep && !(haveFrom && haveTo && haveStep && o.to >= o.from)) return false;
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
    return app::model::CsvField(s);
}

struct TRow {
    std::string problem, method, status;
    TLeResult result;
    double provided = 0.0;
};

// The tieback forces of a solved row, from the top, with `separator` between them.
std::string tiebackForces(const TRow& r, const char* separator) {
    if (r.method == "free-earth") return shown(r.result.TiebackForce);
    std::string out;
    for (std::size_t i = 0; i < r.result.TiebackForces.size(); ++i)
        out.append(i ? separator : "").append(shown(r.result.TiebackForces[i]));
    return out;
}

// The engine's runner, installed beside this tool.
fs::path runnerPath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("drenok-run") : self.parent_path() / "drenok-run";
}

// drenok-run -j N on `files`, its own output out of sight; false when it could not be started.
bool runAll(const std::vector<std::string>& files, int jobs) {
    const std::string runner = runnerPath().string();
    const std::string j = std::to_string(jobs);
    std::vector<char*> args{const_cast<char*>(runner.c_str()), const_cast<char*>("-j"),
                            const_cast<char*>(j.c_str())};
    for (const std::string& f : files)
        args.push_back(const_cast<char*>(f.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, runner.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // 0, 1 (a run failed) and 3 (a run did not converge) all leave the reports to read.
    return WIFEXITED(status) && WEXITSTATUS(status) != 2;
}

// A private folder for the runs, removed with everything in it when done.
struct TScratch {
    fs::path folder;
    TScratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string base =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/drenok-design-XXXXXX";
        std::vector<char> name(base.begin(), base.end());
        name.push_back('\0');
        if (const char* made = mkdtemp(name.data()))
            folder = made;
        else
            std::cerr << "drenok-design: no scratch folder for the runs in " << base << ": "
                      << std::strerror(errno) << '\n';
    }
    ~TScratch() {
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    [[nodiscard]] bool made() const { return !folder.empty(); }
};

int sweep(const TOptions& o, const app::model::TProgramData& model) {
    double excavation = 0.0;
    try {
        excavation = DeepestExcavation(model, o.dataFile);
    } catch (const std::exception& e) {
        std::cerr << "drenok-design: " << e.what() << '\n';
        return 2;
    }
    const std::vector<double> embedments = SweepEmbedments(model, excavation, o.from, o.to, o.step);
    if (embedments.empty()) {
        std::cerr << "drenok-design: no embedment from " << o.from << " to " << o.to << " by " << o.step
                  << " makes a wall of whole increments\n";
        return 2;
    }
    TScratch scratch;
    if (!scratch.made()) return 2;
    const fs::path folder = scratch.folder;
    std::vector<std::string> files;
    std::vector<int> increments;
    for (std::size_t i = 0; i < embedments.size(); ++i) {
        const int n = IncrementsFor(model, excavation, embedments[i]);
        const fs::path file = folder / ("wall-" + std::to_string(i + 1) + ".dn5d");
        std::ofstream out(file, std::ios::binary);
        out << LengthenedDataText(model, o.dataFile, n);
        out.close();
        if (!out) {
            std::cerr << "drenok-design: cannot write " << file.string() << '\n';
            return 2;
        }
        files.push_back(file.string());
        increments.push_back(n);
    }
    if (!runAll(files, o.jobs)) {
        std::cerr << "drenok-design: cannot run " << runnerPath().string() << '\n';
        return 2;
    }
    std::vector<TSweepRun> runs;
    for (std::size_t i = 0; i < files.size(); ++i)
        runs.push_back(ReadSweepRun(files[i], embedments[i], increments[i]));
    const std::optional<double> limit = o.limit > 0.0 ? std::optional<double>(o.limit) : std::nullopt;
    const std::optional<double> shortest = ShortestConvergingEmbedment(runs, limit);
    // The limit-equilibrium embedment of the same wall, to mark beside the sweep.
    const TLeResult le = ReferenceDesign(model, o.dataFile);
    const app::model::TSummaryUnits u = app::model::SummaryUnits(model.UnitSystem());
    std::size_t ties = 0;
    for (const TSweepRun& r : runs)
        ties = std::max(ties, r.TiebackForces.size());
    if (o.json) {
        std::cout << "{\n  \"units\": {\"embedment\": " << jsonText(u.Depth)
                  << ", \"deflection\": " << jsonText(u.Deflection) << ", \"moment\": " << jsonText(u.Moment)
                  << ", \"force\": " << jsonText(u.Force) << "},\n  \"runs\": [";
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const TSweepRun& r = runs[i];
            std::cout << (i ? ",\n" : "\n") << "    {\"embedment\": " << shown(r.Embedment)
                      << ", \"increments\": " << r.Increments << ", \"status\": " << jsonText(r.Status)
                      << ", \"top_deflection\": " << shown(r.TopDeflection)
                      << ", \"max_moment\": " << shown(r.MaxMoment)
                      << ", \"max_shear\": " << shown(r.MaxShear) << ", \"tieback_forces\": [";
            for (std::size_t k = 0; k < r.TiebackForces.size(); ++k)
                std::cout << (k ? ", " : "") << shown(r.TiebackForces[k]);
            std::cout << "]}";
        }
        std::cout << "\n  ],\n  \"shortest_converging_embedment\": " << (shortest ? shown(*shortest) : "null")
                  << ",\n  \"limit_equilibrium_embedment\": "
                  << (le.Solved ? shown(le.EmbedmentRequired) : "null") << "\n}\n";
    } else {
        std::cout << "embedment (" << u.Depth << "),increments,status,top deflection (" << u.Deflection
                  << "),max moment (" << u.Moment << "),max shear (" << u.Shear << ")";
        for (std::size_t k = 0; k < ties; ++k)
            std::cout << ",tieback " << k + 1 << " (" << u.Force << ")";
        std::cout << '\n';
        for (const TSweepRun& r : runs) {
            std::cout << shown(r.Embedment) << ',' << r.Increments << ',' << csvText(r.Status) << ','
                      << shown(r.TopDeflection) << ',' << shown(r.MaxMoment) << ',' << shown(r.MaxShear);
            for (std::size_t k = 0; k < ties; ++k)
                std::cout << ',' << (k < r.TiebackForces.size() ? shown(r.TiebackForces[k]) : "");
            std::cout << '\n';
        }
    }
    std::cerr << "drenok-design: shortest embedment from which every longer one converges"
              << (limit ? " within the deflection limit" : "") << ": "
              << (shortest ? shown(*shortest) + " " + u.Depth : std::string("none in the sweep")) << '\n';
    if (le.Solved)
        std::cerr << "drenok-design: limit-equilibrium embedment (" << MethodName(le.Method)
                  << ", factor 1): " << shown(le.EmbedmentRequired) << ' ' << u.Depth << '\n';
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int sections(const TOptions& o, const app::model::TProgramData& model) {
    const double width = static_cast<double>(model.ActiveWidth);
    if (!(width > 0.0)) {
        std::cerr
            << "drenok-design: the wall has no width for earth pressure (Wa), so a section per unit width "
               "cannot be set\n";
        return 1;
    }
    std::vector<TSection> catalogue;
    try {
        catalogue = o.catalogue.empty() ? SectionCatalogue() : ReadSections(o.catalogue);
    } catch (const std::exception& e) {
        std::cerr << "drenok-design: " << e.what() << '\n';
        return 2;
    }
    if (!o.sectionName.empty()) {
        std::erase_if(catalogue, [&](const TSection& c) { return c.Name != o.sectionName; });
        if (catalogue.empty()) {
            std::cerr << "drenok-design: no section named " << o.sectionName << '\n';
            return 2;
        }
    }
    const double fy = o.fy > 0.0 ? o.fy : SteelGrade(o.grade)->Yield;
    const bool si = model.UnitSystem() == app::model::kUnitsSI;
    // The deflection limit in the results' unit (inches, or millimetres for SI).
    // H: the deepest excavation of the wall (of its last stage).
    const double excavation = DeepestExcavation(model, o.dataFile) * (si ? 1000.0 : 1.0);
    double limit = 0.0;
    if (o.deflectionLimit == "H/100")
        limit = excavation / 100;
    else if (o.deflectionLimit == "H/150")
        limit = excavation / 150;
    else if (o.deflectionLimit == "H/200")
        limit = excavation / 200;
    else
        number(o.deflectionLimit, limit);

    TScratch scratch;
    if (!scratch.made()) return 2;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const fs::path file = scratch.folder / ("section-" + std::to_string(i + 1) + ".dn5d");
        std::ofstream out(file, std::ios::binary);
        out << StiffenedDataText(model, o.dataFile,
                                 SectionStiffness(catalogue[i], model.UnitSystem(), width));
        out.close();
        if (!out) {
            std::cerr << "drenok-design: cannot write " << file.string() << '\n';
            return 2;
        }
        files.push_back(file.string());
    }
    if (!runAll(files, o.jobs)) {
        std::cerr << "drenok-design: cannot run " << runnerPath().string() << '\n';
        return 2;
    }
    const app::model::TSummaryUnits u = app::model::SummaryUnits(model.UnitSystem());
    struct TCheck {
        TSweepRun run;
        double utilisation = 0.0;
        bool passes = false;
    };
    std::vector<TCheck> checks;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TCheck c;
        c.run = ReadSweepRun(files[i], 0.0, model.IncrementCount);
        c.utilisation = BendingUtilisation(catalogue[i], fy, model.UnitSystem(), c.run.MaxMoment, width);
        c.passes = c.run.State == app::model::TRunState::Converged && c.utilisation <= 1.0 &&
                   c.run.TopDeflection <= limit;
        checks.push_back(c);
    }
    if (o.json) {
        std::cout << "{\n  \"units\": {\"deflection\": " << jsonText(u.Deflection)
                  << ", \"moment\": " << jsonText(u.Moment) << "},\n  \"yield_mpa\": " << shown(fy)
                  << ",\n  \"deflection_limit\": " << shown(limit) << ",\n  \"sections\": [";
        for (std::size_t i = 0; i < checks.size(); ++i) {
            const TCheck& c = checks[i];
            std::cout << (i ? ",\n" : "\n") << "    {\"section\": " << jsonText(catalogue[i].Name)
                      << ", \"status\": " << jsonText(c.run.Status)
                      << ", \"max_moment\": " << shown(c.run.MaxMoment)
                      << ", \"utilisation\": " << shown(c.utilisation)
                      << ", \"top_deflection\": " << shown(c.run.TopDeflection)
                      << ", \"passes\": " << (c.passes ? "true" : "false") << "}";
        }
        std::cout << "\n  ]\n}\n";
    } else {
        std::cout << "section,inertia (cm4/m),modulus (cm3/m),mass (kg/m2),status,max moment (" << u.Moment
                  << "),utilisation M/(W fy),top deflection (" << u.Deflection << "),limit (" << u.Deflection
                  << "),passes\n";
        for (std::size_t i = 0; i < checks.size(); ++i) {
            const TCheck& c = checks[i];
            std::cout << csvText(catalogue[i].Name) << ',' << shown(catalogue[i].Inertia) << ','
                      << shown(catalogue[i].Modulus) << ',' << shown(catalogue[i].Mass) << ','
                      << csvText(c.run.Status) << ',' << shown(c.run.MaxMoment) << ',' << shown(c.utilisation)
                      << ',' << shown(c.run.TopDeflection) << ',' << shown(limit) << ','
                      << (c.passes ? "yes" : "no") << '\n';
        }
    }
    const TSection* lightest = nullptr;
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i].passes && (lightest == nullptr || catalogue[i].Mass < lightest->Mass))
            lightest = &catalogue[i];
    std::cerr << "drenok-design: "
              << (lightest ? "lightest section that passes: " + lightest->Name
                           : std::string("no section passes"))
              << " (fy " << shown(fy) << " MPa, top deflection within " << shown(limit) << ' ' << u.Deflection
              << ")\n";
    std::cout.flush();
    return std::cout ? 0 : 1;
}

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
    if (o.sweep) return sweep(o, model);
    if (o.section) return sections(o, model);
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
    const std::vector<TPyComparison> py = PyComparison(o.dataFile);
    std::vector<TRow> rows;
    for (const TDesignCase& c : cases) {
        TRow row;
        row.problem = c.Name;
        row.provided = c.WallLength - c.Problem.Excavation;
        std::string method = o.method;
        if (method.empty())
            method = c.Tiebacks.empty() ? "simplified" : c.Tiebacks.size() == 1 ? "free-earth" : "apparent";
        row.method = method;
        if (method == "free-earth" && c.Tiebacks.size() != 1) {
            row.status = c.Tiebacks.empty()
                             ? "free-earth support needs a tieback; this problem has none"
                             : "free-earth support takes one tieback; this problem has " +
                                   std::to_string(c.Tiebacks.size()) + " (use --method apparent)";
        } else if (method == "apparent" && c.Tiebacks.size() < 2) {
            row.status = "the apparent-pressure method is for two or more tiebacks; this problem has " +
                         std::to_string(c.Tiebacks.size());
        } else if (method == "apparent") {
            row.result = ApparentPressure(c.Problem, c.Tiebacks);
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
                          << tiebackForces(r, ", ") << "], \"max_moment\": " << shown(r.result.MaxMoment)
                          << ", \"max_moment_depth\": " << shown(r.result.MaxMomentDepth);
            }
            if (i < py.size() && py[i].Known) {
                std::cout << ", \"p_y\": {\"status\": " << jsonText(py[i].Status)
                          << ", \"tieback_forces\": [";
                for (std::size_t k = 0; k < py[i].TiebackForces.size(); ++k)
                    std::cout << (k ? ", " : "") << shown(py[i].TiebackForces[k]);
                std::cout << "], \"max_moment\": " << shown(py[i].MaxMoment) << "}";
            }
            std::cout << "}";
        }
        std::cout << "\n  ]\n}\n";
    } else {
        std::cout << "problem,method,embedment required (" << u.Length << "),embedment design (" << u.Length
                  << "),embedment provided (" << u.Length << "),tieback force (" << u.ForcePerWidth
                  << "),max moment (" << u.MomentPerWidth << "),at depth (" << u.Length
                  << "),status,p-y status,p-y tieback force (" << u.ForcePerWidth << "),p-y max moment ("
                  << u.MomentPerWidth << ")\n";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const TRow& r = rows[i];
            const bool solved = r.result.Solved;
            auto field = [solved](double v) { return solved ? shown(v) : std::string(); };
            std::cout << csvText(r.problem) << ',' << r.method << ',' << field(r.result.EmbedmentRequired)
                      << ',' << field(r.result.EmbedmentDesign) << ',' << shown(r.provided) << ','
                      << (solved ? csvText(tiebackForces(r, ";")) : std::string()) << ','
                      << field(r.result.MaxMoment) << ',' << field(r.result.MaxMomentDepth) << ','
                      << csvText(r.status);
            // The p-y results of the same problem beside, when the run's outputs belong to the file.
            if (i < py.size() && py[i].Known) {
                std::string forces;
                for (std::size_t k = 0; k < py[i].TiebackForces.size(); ++k)
                    forces.append(k ? ";" : "").append(shown(py[i].TiebackForces[k]));
                std::cout << ',' << csvText(py[i].Status) << ',' << csvText(forces) << ','
                          << shown(py[i].MaxMoment);
            } else {
                std::cout << ",,,";
            }
            std::cout << '\n';
        }
    }
    std::cout.flush();
    if (!std::cout) return 1;
    return failed ? 1 : 0;
}
