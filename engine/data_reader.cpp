#include "engine/data_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/run_stop.h"

namespace engine {

namespace {
constexpr auto kSeparators = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {' ', '\t', ',', '\r', '\n'})
        table[c] = true;
    return table;
}();

bool isSeparator(char c) {
    return kSeparators[static_cast<unsigned char>(c)];
}
}  // namespace

bool parseInt(std::string_view token, int& value) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty()) return false;
    long long v = 0;
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || ptr != token.data() + token.size()) return false;
    if (v < -2147483648LL || v > 2147483647LL) return false;
    value = static_cast<int>(v);
    return true;
}

namespace {

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common numerals of the files (0.123E+02, -1.5, 80) read exactly without the library: a
// mantissa of at most 15 digits is an exact double, and one multiplication or division by an
// exact power of ten up to 1E22 rounds correctly. Anything else is left to the library parser.
bool parseSimpleReal(std::string_view t, double& value) {
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    unsigned long long mantissa = 0;
    int digits = 0, scale = 0;
    bool any = false, point = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            any = true;
            if (mantissa == 0 && c == '0') {
                if (point) --scale;
                continue;
            }
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (point) --scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) return false;
    if (i < t.size()) {
        if (t[i] != 'e' && t[i] != 'E' && t[i] != 'd' && t[i] != 'D' && t[i] != '+' && t[i] != '-')
            return false;
        if (t[i] != '+' && t[i] != '-') ++i;
        bool expNegative = false;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) expNegative = t[i++] == '-';
        int e = 0;
        const size_t start = i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9' && e < 1000; ++i)
            e = e * 10 + (t[i] - '0');
        if (i == start || i != t.size()) return false;
        scale += expNegative ? -e : e;
    }
    double v = static_cast<double>(mantissa);
    if (mantissa != 0) {
        if (scale > 22 || scale < -22) return false;
        v = scale >= 0 ? v * kExactPowers[scale] : v / kExactPowers[-scale];
    }
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool parseReal(std::string_view token, double& value) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.size() > 64) return false;
    if (parseSimpleReal(token, value)) return true;
    // Only digits, one point, signs and an exponent letter are numerals here; this also keeps
    // out the words "inf" and "nan" that the library parser would take. A D exponent and an
    // exponent written without its letter (0.100+101) are rewritten for the library parser.
    bool hasExponentLetter = false;
    bool rewrite = false;
    for (size_t i = 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c == 'd' || c == 'D' || c == 'e' || c == 'E') {
            if (hasExponentLetter) return false;
            hasExponentLetter = true;
            rewrite = rewrite || c == 'd' || c == 'D';
        } else if ((c == '+' || c == '-') && i > 0 && !hasExponentLetter) {
            const char prev = token[i - 1];
            if ((prev >= '0' && prev <= '9') || prev == '.') {
                hasExponentLetter = true;
                rewrite = true;
            } else {
                return false;
            }
        } else if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) {
            return false;
        }
    }
    if (parseSimpleReal(token, value)) return true;
    char buf[72];
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (rewrite) {
        size_t n = 0;
        bool letter = false;
        for (size_t i = 0; i < token.size(); ++i) {
            char c = token[i];
            if (c == 'd' || c == 'D' || c == 'e' || c == 'E') {
                c = 'e';
                letter = true;
            } else if ((c == '+' || c == '-') && i > 0 && !letter) {
                const char prev = token[i - 1];
                if ((prev >= '0' && prev <= '9') || prev == '.') {
                    buf[n++] = 'e';
                    letter = true;
                }
            }
            buf[n++] = c;
        }
        first = buf;
        last = buf + n;
    }
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
    value = v;
    return true;
}

DataReader::DataReader(std::string text, std::string name)
    : m_text(std::move(text)), m_name(std::move(name)) {}

DataReader DataReader::fromFile(const std::string& path, const std::string& name) {
    std::ifstream in(path, std::ios::binary);
    if (!in) stopDataFault(name + " CANNOT BE OPENED");
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) stopDataFault(name + " CANNOT BE READ");
    return DataReader(std::move(ss).str(), name);
}

std::string DataReader::readTitle(size_t width) {
    if (m_inRecord) beginRecord();  // skips the rest of the line of the record before
    if (atEnd())
        stopDataFault(m_name + " ENDS WHERE A TITLE IS EXPECTED (LINE " + std::to_string(m_line) + ")");
    size_t end = m_text.find('\n', m_pos);
    if (end == std::string::npos) end = m_text.size();
    std::string_view lineText(m_text.data() + m_pos, end - m_pos);
    if (!lineText.empty() && lineText.back() == '\r') lineText.remove_suffix(1);
    std::string title(lineText.substr(0, width));
    title.resize(width, ' ');
    m_pos = end < m_text.size() ? end + 1 : end;
    ++m_line;
    m_inRecord = false;
    return title;
}

void DataReader::beginRecord() {
    if (!m_inRecord) return;
    const size_t end = m_text.find('\n', m_pos);
    if (end == std::string::npos) {
        m_pos = m_text.size();
    } else {
        m_pos = end + 1;
        ++m_line;
    }
    m_inRecord = false;
}

std::string_view DataReader::nextToken() {
    for (;;) {
        const size_t size = m_text.size();
        const char* text = m_text.data();
        while (m_pos < size && isSeparator(text[m_pos])) {
            if (text[m_pos] == '\n') ++m_line;
            ++m_pos;
        }
        if (m_pos >= m_text.size())
            stopDataFault(m_name + " ENDS BEFORE A RECORD IS COMPLETE (LINE " +
                          std::to_string(m_inRecord ? m_recordLine : m_line) + ")");
        const size_t start = m_pos;
        while (m_pos < size && !isSeparator(text[m_pos]))
            ++m_pos;
        if (!m_inRecord) m_recordLine = m_line;
        m_inRecord = true;
        m_lastToken = std::string_view(m_text).substr(start, m_pos - start);
        return m_lastToken;
    }
}

void DataReader::faultAtToken(std::string_view token, const char* expected) const {
    std::string shown(token.substr(0, 20));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    stopDataFault(std::string(expected) + " EXPECTED IN " + m_name + " (LINE " + std::to_string(m_line) +
                  "): '" + shown + "'");
}

int DataReader::readInt() {
    const std::string_view token = nextToken();
    int v = 0;
    if (!parseInt(token, v)) faultAtToken(token, "INTEGER");
    return v;
}

double DataReader::readReal() {
    const std::string_view token = nextToken();
    double v = 0.0;
    if (!parseReal(token, v)) faultAtToken(token, "NUMBER");
    return v;
}

}  // namespace engine
