#pragma once
// The one way a run ends early: data faults, storage limits and the stops of the soil computations
// throw RunStop; the run catches it in one place and closes the run in order.

#include <stdexcept>
#include <string>

namespace engine {

class RunStop : public std::runtime_error {
public:
    /// `reportLines` is written to the report as it stands (already laid out, may be empty);
    /// `stopCode` (0 for none) is written to the console as the soil computations' stops are.
    RunStop(std::string reportLines, int stopCode = 0)
        : std::runtime_error(reportLines.empty() ? "run stopped" : reportLines),
          m_reportLines(std::move(reportLines)),
          m_stopCode(stopCode) {}

    const std::string& reportLines() const { return m_reportLines; }
    int stopCode() const { return m_stopCode; }

private:
    std::string m_reportLines;
    int m_stopCode;
};

/// "ERROR STOP -- STATIONS NOT IN ORDER"
[[noreturn]] void stopStationsNotInOrder();
/// "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"
[[noreturn]] void stopDataBeyondEnd();
/// "TOO MUCH DATA FOR AVAILABLE STORAGE"
[[noreturn]] void stopTooMuchData();
/// A fault of the input with a one-line explanation; the text follows "ERROR -- ".
[[noreturn]] void stopDataFault(const std::string& what);
/// A stop of the soil computations: `reportLines` (already laid out, may be empty) go to the
/// report, followed by a line saying the soil computations ended the run; `stopCode` (0 for none)
/// goes to the console.
[[noreturn]] void stopSoil(int stopCode, const std::string& reportLines = {});
/// Ends the run in order without a message of its own.
[[noreturn]] void stopSilently();

}  // namespace engine
