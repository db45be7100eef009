#include "engine/report.h"

#include "engine/stations.h"

#include <ctime>

namespace engine {

UnitLabels UnitLabels::forSystem(int unitSystem) {
    switch (unitSystem) {
        case kEnglish:
            return {" IN", " LBS", "IN", "LBS"};
        case kSI:
            return {"  M", "  KN", " M", " KN"};
        default:
            return {"  L", "   F", " L", "  F"};
    }
}

AnalysisTime systemTime() {
    AnalysisTime t;
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) return t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return t;
}

void splitPath(const std::string& path, std::string& folder, std::string& name) {
    std::string p = path;
    while (!p.empty() && p.back() == ' ')
        p.pop_back();
    const size_t slash = p.find_last_of("/\\");
    folder = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
    name = slash == std::string::npos ? p : p.substr(slash + 1);
}

namespace {
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
}

void Report::header(const std::string& version, const std::string& dataPath, const std::string& reportPath,
                    const std::string& plotPath, const AnalysisTime& time) {
    write(
        "(5X,73('='),/,/,20X,'  DRENOK for Windows, Version ',A12,/,/,20X,'   A Program for the Analysis of "
        "',/,"
        "20X,'   Flexible Retaining Walls ',/,/,5X,73('='),/,/)",
        {version});
    std::string folder, name, reportFolder, reportName, plotFolder, plotName;
    splitPath(dataPath, folder, name);
    splitPath(reportPath, reportFolder, reportName);
    splitPath(plotPath, plotFolder, plotName);
    // The drive is part of the folder on this platform; the name carries its extension.
    write("(5X,'Path to file locations      : ',A,A,/,5X,'Name of input data file     : ',A,A)",
          {"", folder, name, ""});
    write("(5X,'Name of output file         : ',A,A)", {reportName, ""});
    write("(5X,'Name of plot output file    : ',A,A)", {plotName, ""});
    write("()");
    write("(5X,73('-'),/,26X,'Time and Date of Analysis',/,5X,73('-'),/)");
    if (time.month >= 1 && time.month <= 12) {
        const std::string layout = std::string("(15X,'Date:  ") + kMonths[time.month - 1] +
                                   " ',I2.2,', ',I4,5X,'Time:  ',I2.2,':',I2.2,':',I2.2)";
        write(layout, {time.day, time.year, time.hour, time.minute, time.second});
    }
}

void Report::problemHeading(int stageCount, int problemNumber, const std::string& title,
                            const std::string& firstTitle) {
    if (stageCount >= 2)
        write("(/,6X,'Stage No :',I2,2X,A70)", {problemNumber, firstTitle});
    else if (problemNumber == 1)
        write("(/,6X,A70)", {title});
    else
        write("(/,6X,'Long Term :',2X,A70)", {firstTitle});
}

void Report::controlParameters(const ControlRecord& c, const WallRecord& w, const UnitLabels& u) {
    write(
        "(/,/,6X,50('*'),/,6X,'*        PROGRAM CONTROL PARAMETERS              *',/,6X,50('*'),/,/,"
        "6X,'NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ',I2,/,"
        "6X,'NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ',I2,/,"
        "6X,'GENERATE EARTH PRESSURE INTERNALLY                 = ',I2,/,"
        "6X,'GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ',I2,/,"
        "6X,'NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ',I2,/,"
        "6X,'NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ',I2)",
        {c.restraintCount, c.stiffnessCount, c.pressureGenerated() ? 1 : 0, c.curvesGenerated() ? 1 : 0,
         c.modifierCount, c.userCurveCount});
    write(
        "(6X,'NUMBER OF INCREMENTS                               = ',I3,/,"
        "6X,'INCREMENT LENGTH                                   = ',F7.3,A3,/,"
        "6X,'FREE HEIGHT OF WALL                                = ',F7.3,A3)",
        {w.increments, w.h, u.L, w.freeHeight, u.L});
    write(
        "(6X,'MAXIMUM ALLOWABLE DEFLECTION                       = ',F7.3,A3,/,"
        "6X,'DEFLECTION CLOSURE TOLERANCE                       = ',F7.5,A3)",
        {w.maxDeflection, u.L, w.tolerance, u.L});
}

void Report::restraintHeading() {
    write(
        "(/,/,6X,50('*'),/,6X,'*        SPECIFIED DEFLECTIONS AND SLOPES        *',/,6X,50('*'),/,/,"
        "5X,'     STA      CASE       DEFLECTION        SLOPE',/)");
}

void Report::restraintLine(int node, int caseRead, int caseUsed, double deflection, double slope) {
    switch (caseUsed) {
        case 1:
            write("(10X,I3,7X,I2,8X,E10.3,9X,'NONE')", {node, caseRead, deflection});
            break;
        case 2:
            write("(10X,I3,7X,I2,11X,'NONE',8X,E10.3)", {node, caseRead, slope});
            break;
        default:
            write("(10X,I3,7X,I2,3X,2(5X,E10.3))", {node, caseRead, deflection, slope});
            break;
    }
}

void Report::noTableLine() {
    write("(/,'                    ')");
}

void Report::stiffnessHeading(const UnitLabels& u) {
    write(
        "(/,/,6X,50('*'),/,6X,'*        STIFFNESS AND LOAD DATA                 *',/,6X,50('*'),/,"
        "6X,'EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,',/,6X,'S - STIFFNESS OF TRANSVERSE RESISTANCE,',/,"
        "6X,'T - TORQUE,              P - AXIAL LOAD,',/,6X,'R - STIFFNESS OF TORSIONAL RESISTANCE.',/,/,"
        "'     FROM TO CONTD     EI         Q        S''        T         R         P',/)");
    write("(18X,A4,A1,A2,A2,A1,4X,A4,4X,A4,A1,A2,3X,A3,A1,A3,2X,A3,A1,A3,4X,A4)",
          {u.F, "-", u.L2, "**", "2", u.F, u.F, "/", u.L2, u.L, "-", u.F3, u.L, "-", u.F3, u.F});
}

void Report::rangeLine(int rangeCase, int from, int to, int contd, const double v[6]) {
    switch (rangeCase) {
        case 1:
            write("(5X,2I4,I3,1X,6E10.3)", {from, to, contd, v[0], v[1], v[2], v[3], v[4], v[5]});
            break;
        case 2:
            write("(5X,I4,4X,I3,1X,6E10.3)", {from, contd, v[0], v[1], v[2], v[3], v[4], v[5]});
            break;
        default:
            write("(9X,I4,I3,1X,6E10.3)", {to, contd, v[0], v[1], v[2], v[3], v[4], v[5]});
            break;
    }
}

void Report::userPressureHeading() {
    write("(/,/,6X,50('*'),/,6X,'*        SPECIFIED ACTIVE EARTH PRESSURE         *',/,6X,50('*'),/)");
}

void Report::pressureColumns(const UnitLabels& u) {
    write(
        "(/,/,8X,' DEPTH         ACTIVE EARTH PRESSURE',/,8X,1X,A3,17X,A4,A1,A2,/,"
        "8X,'--------       ------------------------')",
        {u.L, u.F, "/", u.L2});
}

void Report::pressureRow(double depth, double load) {
    write("(6X,E10.3,10X,E10.3)", {depth, load});
}

void Report::userCurvesHeading() {
    write("(/,/,6X,50('*'),/,6X,'*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *',/,6X,50('*'),/)");
}

void Report::userCurveLine(bool withGenerated, int rangeCase, int node, int flag, double pm, double ym,
                           int points) {
    write("(/,'     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER''      POINTS     ',/)");
    if (withGenerated) {
        write("(/,9X,I4,I3,5X,2E14.3,1(10X,I3))", {node, 0, pm, ym, points});
        return;
    }
    switch (rangeCase) {
        case 1:
            write("(/,5X,2I4,I3,5X,2E14.3,1(8X,I4))", {node, node, flag, pm, ym, points});
            break;
        case 2:
            write("(/,5X,I4,4X,I3,5X,2E14.3,1(10X,I3))", {node, flag, pm, ym, points});
            break;
        default:
            write("(/,9X,I4,I3,5X,2E14.3,1(10X,I3))", {node, flag, pm, ym, points});
            break;
    }
}

void Report::curvePointsHeading(const UnitLabels& u) {
    write("(/,/,18X,'    Y    ',12X,'   P    ',/,18X,2X,A3,16X,A4,A1,A2,/,18X,'---------',12X,'--------')",
          {u.L, u.F, "/", u.L2});
}

void Report::curvePoint(double y, double p) {
    write("(17X,E10.3,10X,E10.3)", {y, p});
}

void Report::results(const Results& r, int increments, double h, const StationArray& ei,
                     const UnitLabels& u) {
    write("(/,/,'     RESULTS -- ITERATION',I3,/,'     --------------------')", {r.iterations});
    if (r.offCurve) write("(/,'     ***** DEFLECTION OFF Q - W CURVES *****')");
    if (r.exceeding > 0)
        write("(/,'     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***',I4,'  *** STATIONS *****')",
              {r.exceeding});
    if (r.dampedFrom > 0) {
        // The plain iteration swung between two states; say how this solution was reached.
        if (r.notClosed > 0)
            write("(/,'     ***** DAMPED ITERATIONS FROM ITERATION',I4,' DID NOT CLOSE EITHER *****')",
                  {r.dampedFrom});
        else
            write("(/,'     ***** SOLUTION CLOSED WITH DAMPED ITERATIONS FROM ITERATION',I4,' *****')",
                  {r.dampedFrom});
    }
    if (r.notClosed > 0) write("(/,A)", {"     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"});
    write(
        "(/,'   STA I      X         DEFL.       SLOPE','      MOMENT      SHEAR    NET REACT/STA    EI ')");
    write(
        "(12X,A3,9X,A3,19X,A3,A1,A2,7X,A4,8X,A4,7X,A3,A1,A2,A2,A1,/,"
        "'   ------    ----        ----       -----','      ------      ------    ---------    ----------')",
        {u.L, u.L, u.F3, "-", u.L2, u.F, u.F, u.F3, "-", u.L2, "**", "2"});
    static const ff::NumericLine row = [] {
        ff::NumericLine line;
        line.compile("(2X,I4,2X,E10.3,6E12.3)");
        return line;
    }();
    for (int s = 0; s <= increments; ++s) {
        const size_t i = static_cast<size_t>(s + 3);
        row.write(m_out, {static_cast<double>(s), s * h, r.w[i], r.slope[i], r.moment[i], r.shear[i],
                          r.reaction[i], ei(s)});
    }
}

void Report::endOfAnalysis() {
    write("(/,/,/,'     END OF ANALYSIS                             ')");
}

}  // namespace engine
