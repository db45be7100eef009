#include "engine/run.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <new>
#include <utility>

#include "engine/data_reader.h"
#include "engine/interface.h"
#include "engine/run_stop.h"
#include "engine/soil/generators.h"
#include "engine/solver.h"
#include "engine/stations.h"

namespace engine {

namespace {

std::string layoutLines(std::string_view layout, const std::string& text) {
    std::string out;
    ff::formatTo(out, layout, {text});
    return out;
}

}  // namespace

void stopStationsNotInOrder() {
    throw RunStop(layoutLines("(/,/,A)", "     ERROR STOP -- STATIONS NOT IN ORDER"));
}
void stopDataBeyondEnd() {
    throw RunStop(layoutLines("(/,/,A)", "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"));
}
void stopTooMuchData() {
    throw RunStop(layoutLines("(/,/,A,/,/)", "     TOO MUCH DATA FOR AVAILABLE STORAGE"));
}
void stopDataFault(const std::string& what) {
    throw RunStop(layoutLines("(/,/,A)", "     ERROR -- " + what));
}
void stopSilently() {
    throw RunStop(std::string());
}
void stopSoil(int stopCode, const std::string& reportLines) {
    std::string text = reportLines;
    if (stopCode != 0)
        ff::formatTo(text, "(/,/,'     ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS, STOP CODE',I2)",
                     {stopCode});
    else
        ff::formatTo(text, "(/,/,'     ERROR -- RUN STOPPED BY THE SOIL COMPUTATIONS')");
    throw RunStop(text, stopCode);
}

int callEntry(int interfaceNumber, const Run::Options& options) noexcept {
    if (interfaceNumber != interface::kInterfaceNumber) return 1;
    try {
        Run run(options);
        return run.execute();
    } catch (...) {
        return 0;  // the caller gets control back whatever happened
    }
}

Run::Run(Options options) : m_options(std::move(options)) {}

bool Run::readRunFile() {
    std::ifstream in(joinPath(m_options.workDir, interface::kRunFileName), std::ios::binary);
    if (!in) return false;
    std::string lines[interface::kRunFileLines];
    for (std::string& line : lines) {
        if (!std::getline(in, line)) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    // The report's header has room for twelve characters of the version.
    m_version = lines[interface::kVersionLine].substr(0, 12);
    m_version.resize(12, ' ');
    std::string* paths[] = {&m_dataPath, &m_reportPath, &m_plotPath, &m_notesPath};
    for (int i = 0; i < 4; ++i) {
        std::string p = lines[interface::kDataFileLine + i].substr(0, 255);
        while (!p.empty() && p.back() == ' ')
            p.pop_back();
        *paths[i] = p;
    }
    return true;
}

std::string Run::openPath(const std::string& path) const {
    // Paths of the run file are taken relative to the folder that holds it.
    if (path.empty() || path.front() == '/') return path;
    return joinPath(m_options.workDir, path);
}

int Run::execute() {
    if (!readRunFile()) {
        std::fputs(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n",
                   stderr);
        return 0;
    }
    if (!m_reportFile.open(openPath(m_reportPath))) {
        std::fprintf(stderr, " CANNOT CREATE THE OUTPUT FILE %s\n", m_reportPath.c_str());
        return 0;
    }
    const bool plotOpen = m_plotFile.open(openPath(m_plotPath));
    const bool notesOpen = m_notesFile.open(openPath(m_notesPath));
    std::string& report = m_reportFile.buffer();
    try {
        if (!plotOpen) stopDataFault("THE PLOT OUTPUT FILE CANNOT BE CREATED");
        if (!notesOpen) stopDataFault("THE RUN NOTES FILE CANNOT BE CREATED");
        DataReader data = DataReader::fromFile(openPath(m_dataPath), "INPUT DATA FILE");
        runProblems(data);
    } catch (const RunStop& stop) {
        report += stop.reportLines();
        if (stop.stopCode() != 0) std::fprintf(stderr, " STOP %d\n", stop.stopCode());
        m_marker = 0;
    } catch (const std::bad_alloc&) {
        ff::formatTo(report, "(/,/,A,/,/)", {"     TOO MUCH DATA FOR AVAILABLE STORAGE"});
        m_marker = 0;
    } catch (const std::exception& e) {
        ff::formatTo(report, "(/,/,A,A)", {"     ERROR -- INTERNAL FAULT: ", e.what()});
        m_marker = 0;
    }
    Report(report).endOfAnalysis();
    if (m_marker == 0) {
        ResponseTable table = m_lastResponse;
        if (!m_haveResponse) table.unitSystem = m_unitSystem;
        PlotData(m_plotFile.buffer()).response(m_caseCount, table);
    }
    // An output that could not be written whole is removed: the caller finds it missing and keeps
    // the previous one, instead of taking a cut file for a finished run.
    const std::pair<OutputFile*, const std::string*> outputs[] = {
        {&m_reportFile, &m_reportPath}, {&m_plotFile, &m_plotPath}, {&m_notesFile, &m_notesPath}};
    for (const auto& [file, path] : outputs) {
        if (file->close()) continue;
        std::fprintf(stderr, " CANNOT WRITE THE OUTPUT FILE %s: %s\n", path->c_str(),
                     std::strerror(file->error()));
        std::remove(openPath(*path).c_str());
    }
    return 0;
}

void Run::runProblems(DataReader& data) {
    for (;;) {
        m_marker = runProblem(data);
        if (m_marker == 0) return;
        m_caseCount = m_marker == 9 ? 2 : m_stageCount;
        PlotData(m_plotFile.buffer()).response(m_caseCount, m_lastResponse);
        m_reportFile.flush();
        m_plotFile.flush();
        m_notesFile.flush();
    }
}

}  // namespace engine
