#include "word_reader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace app::model {

namespace {

constexpr const char* kRealExpected = "A floating point number was expected but not found.";
constexpr const char* kBeyondDouble = "The number is too large for a data file (at most 1.79769E308).";
constexpr const char* kIntegerExpected = "An integer was expected but not found.";
constexpr const char* kIncomplete = "This file either invalid or incomplete.";

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string MessageAsLines(std::string_view message) {
    std::string lines;
    for (std::size_t k = 0; k < message.size(); ++k) {
        if (message[k] == '\r') {
            lines.push_back('\n');
            if (k + 1 < message.size() && message[k + 1] == '\n') ++k;
        } else {
            lines.push_back(message[k]);
        }
    }
    return lines;
}

TWordReader::TWordReader(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        Line line;
        line.text =
            std::string(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        for (std::size_t k = 0; k < line.text.size();) {
            if (IsSeparator(line.text[k])) {
                ++k;
                continue;
            }
            const std::size_t start = k;
            while (k < line.text.size() && !IsSeparator(line.text[k]))
                ++k;
            line.words.push_back({start, k - start});
        }
        m_lines.push_back(std::move(line));
        if (end == std::string_view::npos) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
}

std::string ReadInputFile(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        throw EInOutError(std::string("Cannot open file ").append(path.string()));
    // Checked before opening: opening a pipe waits for a writer, and a device never ends.
    if (!fs::is_regular_file(status))
        throw EInOutError(path.string() +
                          " is not a regular file (a folder, a device or a pipe) and cannot be read");
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > kMaxInputFileBytes)
        throw EInOutError(path.string() + " holds " + std::to_string(size >> 20) +
                          " MB, far more than any file of this program (at most " +
                          std::to_string(kMaxInputFileBytes >> 20) + " MB); it was not read");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EInOutError(std::string("Cannot open file ").append(path.string()));
    std::string content;
    content.resize(static_cast<std::size_t>(error ? 0 : size));
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw EInOutError(std::string("Cannot read file ").append(path.string()));
    return content;
}

TWordReader TWordReader::FromFile(const std::filesystem::path& path) {
    return TWordReader(ReadInputFile(path));
}

bool TWordReader::SkipToWord() {
    while (m_line < m_lines.size() && m_word >= m_lines[m_line].words.size()) {
        ++m_line;
        m_word = 0;
    }
    return m_line < m_lines.size();
}

std::vector<std::string_view> TWordReader::AllWords() const {
    std::vector<std::string_view> words;
    for (const Line& line : m_lines)
        for (const Word& w : line.words)
            words.push_back(std::string_view(line.text).substr(w.begin, w.length));
    return words;
}

void TWordReader::BeginRecord() {
    if (m_line < m_lines.size() && m_word > 0) {
        ++m_line;
        m_word = 0;
    }
}

bool TWordReader::AtEnd() {
    return !SkipToWord();
}

std::string TWordReader::ReadLine() {
    if (m_line >= m_lines.size()) throw EInOutError(kIncomplete);
    std::string text = m_lines[m_line].text;
    ++m_line;
    m_word = 0;
    return text;
}

std::string_view TWordReader::NextWord() {
    if (!SkipToWord()) throw EInOutError(kIncomplete);
    const Line& line = m_lines[m_line];
    const Word w = line.words[m_word++];
    return std::string_view(line.text).substr(w.begin, w.length);
}

void TWordReader::FailAtLastWord(const char* what) const {
    // NextWord left the cursor just after the offending word, on its line.
    throw EInOutError(std::string("Error on Line ")
                          .append(std::to_string(m_line + 1))
                          .append(" Item ")
                          .append(std::to_string(m_word))
                          .append("\r")
                          .append(what));
}

std::string TWordReader::ReadWord() {
    return std::string(NextWord());
}

long double TWordReader::ReadReal() {
    long double value = 0.0L;
    if (!ParseReal(NextWord(), value)) FailAtLastWord(kRealExpected);
    if (m_doubleRange && !IsFileNumber(value)) FailAtLastWord(kBeyondDouble);
    return value;
}

std::int32_t TWordReader::ReadInteger() {
    long double value = 0.0L;
    if (!ParseReal(NextWord(), value) || value != std::trunc(value) ||
        value < static_cast<long double>(std::numeric_limits<std::int32_t>::min()) ||
        value > static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        FailAtLastWord(kIntegerExpected);
    return static_cast<std::int32_t>(value);
}

bool TWordReader::ParseReal(std::string_view word, long double& value) {
    // Check the shape first: from_chars alone would accept "inf", "nan" and hexadecimal forms. The
    // shape is copied with a plain "e" exponent for the library parser.
    std::string normal;
    normal.reserve(word.size() + 1);
    std::size_t k = 0;
    bool negative = false;
    if (k < word.size() && (word[k] == '-' || word[k] == '+')) negative = word[k++] == '-';
    long long leadExponent = 0;  // decimal exponent of the first significant digit, before the 'E' part
    bool seenSignificant = false;
    std::size_t digits = 0;
    for (; k < word.size() && IsDigit(word[k]); ++k, ++digits) {
        normal.push_back(word[k]);
        if (seenSignificant) {
            ++leadExponent;
        } else if (word[k] != '0') {
            seenSignificant = true;
        }
    }
    if (k < word.size() && word[k] == '.') {
        normal.push_back('.');
        for (++k; k < word.size() && IsDigit(word[k]); ++k, ++digits) {
            normal.push_back(word[k]);
            if (!seenSignificant) {
                --leadExponent;
                if (word[k] != '0') seenSignificant = true;
            }
        }
    }
    if (digits == 0) return false;
    long long exponent = 0;
    if (k < word.size()) {
        const char c = word[k];
        const bool letter = c == 'e' || c == 'E' || c == 'd' || c == 'D';
        if (!letter && c != '-' && c != '+') return false;
        if (letter) ++k;
        bool negativeExponent = false;
        if (k < word.size() && (word[k] == '-' || word[k] == '+')) negativeExponent = word[k++] == '-';
        std::size_t exponentDigits = 0;
        for (; k < word.size() && IsDigit(word[k]); ++k, ++exponentDigits) {
            if (exponent < 1000000000) exponent = exponent * 10 + (word[k] - '0');  // saturates
        }
        if (exponentDigits == 0) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (k != word.size()) return false;
    if (!seenSignificant) {
        value = negative ? -0.0L : 0.0L;
        return true;
    }
    normal.push_back('e');
    normal.append(std::to_string(exponent));

    long double parsed = 0.0L;
    const char* first = normal.data();
    const char* last = normal.data() + normal.size();
    const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (leadExponent + exponent > 0) return false;  // too large for an extended real
        parsed = 0.0L;                                  // too small: reads as zero
    } else if (ec != std::errc() || end != last || !std::isfinite(parsed)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

}  // namespace app::model
