// A stand-in engine for the front end's tests: it checks the run file it is handed, leaves scratch
// files behind, and then does what the data file's first line asks (ok, crash, fail, noreport,
// errorstop, cut, throw, mismatch, slow), so failure paths can be driven that the real engine never takes on
// purpose.

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

const char* const kReportHead =
    " FAKE ENGINE\n\n      Fake wall\n\n     RESULTS -- ITERATION  4\n     --------------------\n\n"
    "   STA I      X         DEFL.\n             (FT)        (IN)\n"
    "   ------    ----        -----\n"
    "     0   0.000E+00   0.500E+01   0.000E+00  -0.120E+03   0.000E+00\n"
    "     1   0.100E+02   0.200E+01   0.000E+00   0.300E+03  -0.700E+02\n\n";

std::string stem(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

int reject(const std::string& why) {
    std::cerr << "fake engine: " << why << '\n';
    return 9;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t IDRENOK(std::int32_t interface) {
    if (interface != 2) return 1;
    std::ifstream names("names.dat");
    std::string version, data, report, plot, notes;
    std::getline(names, version);
    std::getline(names, data);
    std::getline(names, report);
    std::getline(names, plot);
    std::getline(names, notes);
    if (!names || version != "2015.5.2") return reject("bad names.dat");
    if (data.empty() || data[0] != '/') return reject("data path not absolute: " + data);
    if (report != stem(data) + ".dn5o" || plot != stem(data) + ".dn5p" || notes != stem(data) + ".dn5r") {
        return reject("output paths do not match the data path");
    }
    // The engine reads a copy of the data file in its private run folder, never the user's file.
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr || data.rfind(std::string(cwd) + "/", 0) != 0) {
        return reject("the data file is not the run folder's copy: " + data);
    }
    std::ofstream("SOILDATA") << "scratch " << data << '\n';
    std::ofstream("ZKTEMP.001") << "scratch\n";

    std::string what;
    std::ifstream in(data);
    std::getline(in, what);
    if (what == "crash") std::abort();
    if (what == "fail") return 7;
    if (what == "mismatch") return 1;
    if (what == "slow") {
        // Long enough for a second program to start its run; its run file or scratch files must not
        // appear here meanwhile.
        ::usleep(400000);
        std::ifstream again("names.dat");
        std::string version2, data2;
        std::getline(again, version2);
        std::getline(again, data2);
        std::ifstream scratch("SOILDATA");
        std::string scratchLine;
        std::getline(scratch, scratchLine);
        if (data2 != data || scratchLine != "scratch " + data) return reject("run folder shared");
    }
    if (what == "throw") throw std::runtime_error("fake engine thrown");
    if (what == "noreport") return 0;
    std::ofstream out(report);
    out << kReportHead;
    if (what == "errorstop") out << " ERROR STOP -- STATIONS NOT IN ORDER\n";
    if (what != "cut") out << "     END OF ANALYSIS   \n";
    std::ofstream(plot) << "plot\n";
    // The folder the engine ran in, so callers can check it was a private one.
    std::ofstream(notes) << "notes\n" << cwd << '\n';
    return 0;
}

extern "C" __attribute__((visibility("default"))) std::int32_t _IDRENOK(std::int32_t interface) {
    return IDRENOK(interface);
}
