// drenok-run: runs the engine on one or more data files and prints a short summary of each report.
//
// Each run happens in a forked child inside its own temporary folder: the engine reads names.dat
// and writes scratch files in the current directory, so private folders let runs go in parallel,
// and the fork keeps a crash in the engine from taking the front end down with it.

#include <dlfcn.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/model_checks.h"
#include "app/model/run_files.h"
#include "app/model/run_status.h"
#include "engine/interface.h"

namespace {

using app::model::TProblemStatus;
using app::model::TReportExtreme;
using app::model::TReportField;
using app::model::TReportSummary;
using app::model::TRunState;
using app::model::TRunStatus;

namespace contract = engine::interface;

constexpr int kExitOk = app::model::kExitConverged;
constexpr int kExitFailed = app::model::kExitFailed;
constexpr int kExitUsage = app::model::kExitUsage;

// How a child tells the parent what happened; the detail text travels through a pipe.
enum ChildExit : int {
    kChildOk = 0,
    kChildSetup = 3,
    kChildLoad = 4,
    kChildNoEntry = 5,
    kChildEngine = 6,
};

void usage(std::FILE* to) {
    std::fputs(
        "usage: drenok-run [-j N] FILE.dn5d...\n"
        "       drenok-run --check FILE.dn5d...\n"
        "Runs the engine on each data file and prints the status of every problem or stage:\n"
        "converged, NOT CLOSED, DEFLECTION EXCEEDED, NON-FINITE RESULTS, INCOMPLETE, ERROR STOP\n"
        "or NO RESULTS, with the top deflection and the largest deflection, moment and shear.\n"
        "Exit status: 0 every problem converged; 3 all ran but at least one did not close within\n"
        "the tolerance or exceeded the allowable deflection; 1 an error stop, non-finite or no\n"
        "results, or a run that failed; 2 a usage error or a missing file.\n"
        "--check runs nothing: it checks each file as the desktop program does before a run and\n"
        "prints every error and warning with its table, row and field; exit status 1 when an\n"
        "error was found.\n",
        to);
}

std::string errnoText() {
    return std::strerror(errno);
}

std::optional<std::string> engineLibraryPath() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::nullopt;
    std::string exe(buf, static_cast<std::size_t>(n));
    const auto slash = exe.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    return exe.substr(0, slash) + "/" + contract::kLibraryFileName;
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    return ::remove(path);
}

void removeTree(const std::string& dir) {
    if (::nftw(dir.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS) != 0) {
        std::fprintf(stderr, "drenok-run: could not remove %s: %s\n", dir.c_str(), errnoText().c_str());
    }
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Job {
    std::string arg;   // as named on the command line
    std::string path;  // absolute
    enum class State { Pending, Running, Done } state = State::Pending;
    std::string workDir;
    pid_t pid = -1;
    int noteFd = -1;
    // Outcome
    std::string failure;  // empty when the engine ran and returned 0
    std::string note;     // what the child said
    std::optional<std::string> report;
};

[[noreturn]] void childFail(int noteFd, int code, const std::string& text) {
    // The note is far below the pipe's capacity, so this write cannot block on the parent.
    [[maybe_unused]] const ssize_t n = ::write(noteFd, text.data(), text.size());
    std::fflush(nullptr);
    ::_exit(code);
}

[[noreturn]] void runChild(const Job& job, const std::string& libPath, int noteFd) {
    if (::chdir(job.workDir.c_str()) != 0) {
        childFail(noteFd, kChildSetup, "cannot enter " + job.workDir + ": " + errnoText());
    }
    // The engine reads a copy of the data file and writes its outputs here; they go beside the data
    // file, together, once the run has ended.
    if (const std::string failed = app::model::PrepareRunFolder(job.workDir, job.path); !failed.empty())
        childFail(noteFd, kChildSetup, failed);
    void* lib = ::dlopen(libPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) childFail(noteFd, kChildLoad, std::string("cannot load the engine: ") + ::dlerror());
    auto entry = reinterpret_cast<contract::EntryFunction>(::dlsym(lib, contract::kDecoratedEntryName));
    if (entry == nullptr) {
        childFail(noteFd, kChildNoEntry,
                  std::string("the engine has no entry ") + contract::kDecoratedEntryName);
    }
    const std::int32_t rc = entry(contract::kInterfaceNumber);
    ::dlclose(lib);
    if (rc != 0) childFail(noteFd, kChildEngine, "the engine returned " + std::to_string(rc));
    std::fflush(nullptr);
    ::_exit(kChildOk);
}

void start(Job& job, const std::string& libPath) {
    job.state = Job::State::Running;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
    dir += "/drenok-run.XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr) {
        job.failure = "cannot create a working folder: " + errnoText();
        job.state = Job::State::Done;
        return;
    }
    job.workDir = dir;
    int fds[2];
    if (::pipe(fds) != 0) {
        job.failure = "cannot create a pipe: " + errnoText();
        removeTree(job.workDir);
        job.state = Job::State::Done;
        return;
    }
    // Whatever sits in our stdio buffers must not be written twice by the child.
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        runChild(job, libPath, fds[1]);
    }
    ::close(fds[1]);
    if (pid < 0) {
        job.failure = "cannot start a run: " + errnoText();
        ::close(fds[0]);
        removeTree(job.workDir);
        job.state = Job::State::Done;
        return;
    }
    job.pid = pid;
    job.noteFd = fds[0];
}

void finish(Job& job, int status) {
    char buf[512];
    ssize_t n;
    while ((n = ::read(job.noteFd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) job.note.append(buf, static_cast<std::size_t>(n));
    }
    ::close(job.noteFd);
    job.noteFd = -1;
    job.state = Job::State::Done;
    // Only a run that ended in order replaces the outputs beside the data file.
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == kChildOk;
    const std::string published =
        ended ? app::model::PublishRunOutputs(job.workDir, job.path) : std::string();
    removeTree(job.workDir);

    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        job.failure = "the engine crashed (signal " + std::to_string(sig) + ", " + ::strsignal(sig) + ")";
        return;
    }
    if (!WIFEXITED(status)) {
        job.failure = "the run ended abnormally";
        return;
    }
    const int code = WEXITSTATUS(status);
    if (code != kChildOk) {
        job.failure = job.note.empty() ? "the run failed (code " + std::to_string(code) + ")" : job.note;
        return;
    }
    if (!published.empty()) {
        job.failure = published;
        return;
    }
    // Read now, before another run of the same outputs may start and replace them.
    job.report = readFile(contract::outputPath(job.path, contract::kReportExtension));
    if (!job.report) job.failure = "the report could not be read back";
}

// Three significant digits, as the report gives them, without exponents for everyday magnitudes.
std::string formatNumber(double v) {
    char buf[64];
    const double a = std::fabs(v);
    if (a == 0.0) return "0";
    if (a >= 1e-3 && a < 1e7) {
        const int mag = static_cast<int>(std::floor(std::log10(a)));
        std::snprintf(buf, sizeof buf, "%.*f", mag >= 2 ? 0 : 2 - mag, v);
    } else {
        std::snprintf(buf, sizeof buf, "%.2e", v);
    }
    return buf;
}

// A field that is no number (NaN, Infinity, asterisks) is shown as the report printed it.
std::string formatField(const TReportField& f) {
    if (f.value) return formatNumber(*f.value);
    return f.text.empty() ? "-" : f.text;
}

std::string withUnit(std::string text, const std::string& unit) {
    if (!unit.empty()) text += " " + unit;
    return text;
}

void printLines(const std::vector<std::string>& lines, const char* indent) {
    for (const auto& line : lines)
        std::printf("%s%s\n", indent, line.c_str());
}

// One summary line: label, value right-aligned so signs and magnitudes line up, unit, then where.
void printQuantity(const char* label, const std::string& value, const std::string& unit,
                   const std::string& where) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "    %-15s %10s %-8s", label, value.c_str(), unit.c_str());
    std::string line = buf + where;
    line.erase(line.find_last_not_of(' ') + 1);
    std::printf("%s\n", line.c_str());
}

void printExtreme(const char* label, const std::optional<TReportExtreme>& e, const std::string& unit,
                  const std::string& depthUnit) {
    if (!e) {
        printQuantity(label, "-", "", "");
        return;
    }
    printQuantity(label, formatField(e->value), unit,
                  " at depth " + withUnit(formatField(e->depth), depthUnit) + " (node " +
                      std::to_string(e->node) + ")");
}

// The iteration count and what qualifies the state, in parentheses after the status word.
std::string statusDetail(const TProblemStatus& p) {
    const std::string iteration =
        "iteration " + (p.iterations ? std::to_string(*p.iterations) : std::string("***"));
    switch (p.state) {
        case TRunState::Converged:
            return " (" + iteration + (p.damped ? ", damped" : "") + ")";
        case TRunState::NotClosed:
            return " (" + iteration + ")";
        case TRunState::DeflectionExceeded:
            return " (" + std::to_string(p.exceedingStations) + " stations, " + iteration + ")";
        default:
            return {};
    }
}

/// Prints one run's summary and returns its exit code.
int printJob(const Job& job) {
    if (!job.failure.empty()) {
        std::printf("%s: FAILED: %s\n", job.arg.c_str(), job.failure.c_str());
        return kExitFailed;
    }
    const TReportSummary s = app::model::SummarizeReport(*job.report);
    const TRunStatus status = app::model::RunStatusFrom(s);
    std::printf("%s: %s\n", job.arg.c_str(), app::model::RunStateWord(status.Worst()));
    for (std::size_t k = 0; k < status.problems.size(); ++k) {
        const TProblemStatus& p = status.problems[k];
        const std::string name = p.heading.empty() ? "problem " + std::to_string(k + 1) : p.heading;
        std::printf("  %s: %s%s\n", name.c_str(), app::model::RunStateWord(p.state), statusDetail(p).c_str());
        if (p.state == TRunState::Incomplete || p.state == TRunState::NoResults ||
            p.state == TRunState::NonFinite)
            std::printf("    %s\n", app::model::DescribeProblemStatus(p).c_str());
        if (k < s.problems.size()) {
            const auto& r = s.problems[k];
            if (r.rows == 0) {
                std::printf("    no result rows\n");
            } else {
                printQuantity("top deflection", r.top ? formatField(*r.top) : "-", r.units.deflection, "");
                printExtreme("max deflection", r.maxDeflection, r.units.deflection, r.units.depth);
                printExtreme("max moment", r.maxMoment, r.units.moment, r.units.depth);
                printExtreme("max shear", r.maxShear, r.units.shear, r.units.depth);
            }
        }
        printLines(p.engineLines, "    ");
    }
    return app::model::RunExitCode(status);
}

// Checks every file before any run would start; 1 when any holds an error.
int checkFiles(const std::vector<std::string>& files) {
    int exitCode = kExitOk;
    for (const std::string& file : files) {
        const auto findings = app::model::CheckDataFile(file);
        int errors = 0;
        for (const auto& f : findings)
            errors += f.severity == app::model::TCheckFinding::Severity::Error ? 1 : 0;
        const int warnings = static_cast<int>(findings.size()) - errors;
        if (findings.empty()) {
            std::printf("%s: no faults found\n", file.c_str());
        } else {
            std::printf("%s: %d error%s, %d warning%s\n", file.c_str(), errors, errors == 1 ? "" : "s",
                        warnings, warnings == 1 ? "" : "s");
        }
        const std::string text = app::model::FormatFindings(findings);
        std::string_view rest = text;
        while (!rest.empty()) {
            const auto nl = rest.find('\n');
            std::printf("  %.*s\n", static_cast<int>(rest.substr(0, nl).size()), rest.data());
            rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
        }
        if (errors > 0) exitCode = kExitFailed;
    }
    return exitCode;
}

std::optional<int> parseJobs(std::string_view s) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < 1) return std::nullopt;
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    int jobs = 1;
    std::vector<std::string> files;
    bool optionsDone = false;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        std::optional<std::string_view> jobsText;
        if (optionsDone || a.empty() || a.front() != '-' || a == "-") {
            files.emplace_back(a);
        } else if (a == "--") {
            optionsDone = true;
        } else if (a == "-h" || a == "--help") {
            usage(stdout);
            return kExitOk;
        } else if (a == "--check") {
            check = true;
        } else if (a == "-j") {
            if (i + 1 >= argc) {
                std::fputs("drenok-run: -j needs a number\n", stderr);
                usage(stderr);
                return kExitUsage;
            }
            jobsText = argv[++i];
        } else if (a.substr(0, 2) == "-j") {
            jobsText = a.substr(2);
        } else {
            std::fprintf(stderr, "drenok-run: unknown option %s\n", argv[i]);
            usage(stderr);
            return kExitUsage;
        }
        if (jobsText) {
            const auto n = parseJobs(*jobsText);
            if (!n) {
                std::fprintf(stderr, "drenok-run: -j needs a positive whole number, not '%.*s'\n",
                             static_cast<int>(jobsText->size()), jobsText->data());
                usage(stderr);
                return kExitUsage;
            }
            jobs = *n;
        }
    }
    if (files.empty()) {
        std::fputs("drenok-run: no data files named\n", stderr);
        usage(stderr);
        return kExitUsage;
    }

    // Every file is checked before any run starts, so a typo does not leave half the batch run.
    std::vector<Job> all;
    bool missing = false;
    for (const auto& f : files) {
        struct stat st {};
        char resolved[PATH_MAX];
        if (::stat(f.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            ::realpath(f.c_str(), resolved) == nullptr) {
            std::fprintf(stderr, "drenok-run: no such data file: %s\n", f.c_str());
            missing = true;
            continue;
        }
        // Its outputs would be written over it.
        const std::string extension = std::filesystem::path(resolved).extension().string();
        if (extension == contract::kReportExtension || extension == contract::kPlotDataExtension ||
            extension == contract::kRunNotesExtension) {
            std::fprintf(stderr,
                         "drenok-run: %s has the extension of a run's output (%s); its run would write "
                         "over it. Name data files .dn5d.\n",
                         f.c_str(), extension.c_str());
            missing = true;
            continue;
        }
        Job job;
        job.arg = f;
        job.path = resolved;
        all.push_back(std::move(job));
    }
    if (missing) {
        usage(stderr);
        return kExitUsage;
    }
    if (check) return checkFiles(files);

    const auto libPath = engineLibraryPath();
    if (!libPath) {
        std::fputs("drenok-run: cannot find its own executable to locate the engine\n", stderr);
        return kExitFailed;
    }

    int running = 0;
    std::size_t printed = 0;
    int exitCode = kExitOk;
    while (printed < all.size()) {
        // Two runs of one data file would write the same outputs, so they never overlap.
        for (auto& job : all) {
            if (running >= jobs) break;
            if (job.state != Job::State::Pending) continue;
            // Two data files of one stem (a.dn5d, a.txt) share their outputs: they run one after the other.
            const std::string outputs = contract::outputPath(job.path, contract::kReportExtension);
            bool busy = false;
            for (const auto& other : all) {
                busy = busy || (other.state == Job::State::Running &&
                                contract::outputPath(other.path, contract::kReportExtension) == outputs);
            }
            if (busy) continue;
            start(job, *libPath);
            if (job.state == Job::State::Running) ++running;
        }
        while (printed < all.size() && all[printed].state == Job::State::Done) {
            // A failure outranks a run that did not converge.
            const int code = printJob(all[printed]);
            if (code == kExitFailed) {
                exitCode = kExitFailed;
            } else if (code != kExitOk && exitCode == kExitOk) {
                exitCode = code;
            }
            ++printed;
        }
        if (running == 0) continue;

        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "drenok-run: waitpid: %s\n", errnoText().c_str());
            return kExitFailed;
        }
        for (auto& job : all) {
            if (job.state == Job::State::Running && job.pid == pid) {
                finish(job, status);
                --running;
                break;
            }
        }
    }
    std::fflush(stdout);
    return exitCode;
}
