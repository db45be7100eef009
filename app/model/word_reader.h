#pragma once
// Tokenizer of the data file, the stage files and the plot-data file: the text is held as lines,
// each with its words (split at blanks, TABs and commas, runs counting once). Words are read across
// line breaks; a consumed or empty line is skipped. Reals use "." as the separator whatever the
// locale. A reader of records (BeginRecord) skips what follows a record on its line, as the engine
// does, so a trailing comment never becomes the next record.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace app::model {

/// A malformed or premature end of input, with the message to show.
/// Whether a value can stand in a file the engine reads: finite in double precision.
[[nodiscard]] inline bool IsFileNumber(long double value) {
    return std::isfinite(value) &&
           std::fabs(value) <= static_cast<long double>(std::numeric_limits<double>::max());
}

class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(const std::string& message) : std::runtime_error(message) {}
};

/// Far beyond any data, stage, report or plot-data file the program and the engine write (the
/// largest, five stages of 1199 pressure rows, 63 curves and 409 stations, stay under a few MB),
/// and small enough that reading one stays within a few hundred MB of memory.
inline constexpr std::uintmax_t kMaxInputFileBytes = std::uintmax_t{16} << 20;

/// The whole of a file the program reads. Throws EInOutError naming the file when it cannot be
/// opened ("Cannot open file <path>"), is not a regular file (a folder, a device, a pipe: reading
/// one would never end or never begin) or is larger than kMaxInputFileBytes.
[[nodiscard]] std::string ReadInputFile(const std::filesystem::path& path);

/// A message as lines for a terminal or a log: its carriage returns (the line breaks of the message
/// boxes) become line feeds.
[[nodiscard]] std::string MessageAsLines(std::string_view message);

class TWordReader {
public:
    /// Lines end at CR LF, LF or CR; a leading UTF-8 byte-order mark is dropped.
    explicit TWordReader(std::string_view text);

    /// Reads a whole file. Throws EInOutError when it cannot be read.
    [[nodiscard]] static TWordReader FromFile(const std::filesystem::path& path);

    /// The whole text of the line under the cursor (words already read included); the cursor moves
    /// to the start of the next line. Throws EInOutError past the last line.
    std::string ReadLine();

    /// The next word. Throws EInOutError past the last word.
    std::string ReadWord();

    /// The next word as a real: optional sign, digits with an optional ".", optional exponent.
    /// Too large a magnitude is refused; too small a one reads as zero. Throws EInOutError.
    long double ReadReal();

    /// From now on ReadReal refuses magnitudes beyond double precision too, with line and item: a
    /// data file is read by the engine in double precision, where they are infinite.
    void LimitToDouble() { m_doubleRange = true; }

    /// The next word as a real with no fractional part inside the 32-bit range. Throws EInOutError.
    std::int32_t ReadInteger();

    /// Starts a record on a new line: when a word of the current line has been read, the rest of that
    /// line is skipped. Without words read on it the cursor stays.
    void BeginRecord();

    /// True when no word is left.
    [[nodiscard]] bool AtEnd();

    [[nodiscard]] std::size_t LineCount() const { return m_lines.size(); }
    /// Every word of the text in order, viewing the reader's own lines (valid while the reader lives).
    [[nodiscard]] std::vector<std::string_view> AllWords() const;
    /// Text of line i (0-based) as read, without its line end.
    [[nodiscard]] const std::string& LineText(std::size_t i) const { return m_lines.at(i).text; }

    /// Parses a whole word as a real the way ReadReal does; false when it is not one. Besides the
    /// usual forms the engine's exponent forms are read: a D exponent (1.5D-3) and, from fields too
    /// narrow for the letter, a signed exponent without it (0.123+105).
    [[nodiscard]] static bool ParseReal(std::string_view word, long double& value);

private:
    struct Word {
        std::size_t begin;
        std::size_t length;
    };
    struct Line {
        std::string text;
        std::vector<Word> words;
    };

    // Moves past consumed and empty lines; false at the end of the text.
    bool SkipToWord();
    std::string_view NextWord();
    [[noreturn]] void FailAtLastWord(const char* what) const;

    std::vector<Line> m_lines;
    std::size_t m_line = 0;  // cursor: line index
    std::size_t m_word = 0;  // cursor: next word on that line
    bool m_doubleRange = false;
};

}  // namespace app::model
