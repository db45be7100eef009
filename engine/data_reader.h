#pragma once
// Free-form reader of the data file and the scratch files.
//
// A record starts on a new line and runs on over further lines until its values are read; the
// rest of the line after its last value is ignored. Values are separated by blanks, tabs or
// commas. Every fault (end of file inside a record, text where a number belongs) ends the run in
// order through RunStop, naming the line.

#include <string>
#include <string_view>

namespace engine {

class DataReader {
public:
    /// `name` appears in fault messages ("INPUT DATA FILE", "SCRATCH FILE SOILDATA").
    DataReader(std::string text, std::string name);

    /// Loads a whole file; a file that cannot be read ends the run with a fault message.
    static DataReader fromFile(const std::string& path, const std::string& name);

    /// The next line as a title: its first `width` characters, padded with blanks.
    std::string readTitle(size_t width = 70);

    /// Starts a record on the next line (the rest of the line of the record before is skipped).
    void beginRecord();
    /// An integer numeral (optional sign, digits), within the 32-bit range.
    int readInt();
    /// Any decimal numeral: 80, 0.5, 1E-5, 1D-5, and the exponent form without a letter (0.1+101).
    double readReal();

    /// The text of the value read last (valid while the reader lives).
    std::string_view lastToken() const { return m_lastToken; }

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }

private:
    std::string_view nextToken();
    [[noreturn]] void faultAtToken(std::string_view token, const char* expected) const;

    std::string m_text;
    std::string m_name;
    size_t m_pos = 0;
    int m_line = 1;           // line of m_pos
    int m_recordLine = 1;     // line where the record at hand started
    bool m_inRecord = false;  // a record has been read on the current line
    std::string_view m_lastToken;
};

/// Parses a real numeral as the reader does; returns false when `token` is not one.
bool parseReal(std::string_view token, double& value);
/// Parses an integer numeral as the reader does; returns false when `token` is not one.
bool parseInt(std::string_view token, int& value);

}  // namespace engine
