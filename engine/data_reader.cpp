#include "engine/data_reader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/run_stop.h"

namespace engine {

namespace {
bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n';
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

bool parseReal(std::string_view token, double& value) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.size() > 64) return false;
    // Only digits, one point, signs and an exponent letter are numerals here; this also keeps
    // out the words "inf" and "nan" that the library parser would take.
    std::string s;
    s.reserve(token.size() + 1);
    bool hasExponentLetter = false;
    for (size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c == 'd' || c == 'D' || c == 'e' || c == 'E') {
            if (hasExponentLetter) return false;
            hasExponentLetter = true;
            c = 'e';
        } else if ((c == '+' || c == '-') && i > 0 && !hasExponentLetter) {
            const char prev = token[i - 1];
            if (prev == 'e' || prev == 'E' || prev == 'd' || prev == 'D') {
                // sign of an exponent with a letter
            } else if ((prev >= '0' && prev <= '9') || prev == '.') {
                s += 'e';  // exponent written without its letter, as in 0.100+101
                hasExponentLetter = true;
            } else {
                return false;
            }
        } else if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) {
            return false;
        }
        s += c;
    }
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return false;
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
        while (m_pos < m_text.size() && isSeparator(m_text[m_pos])) {
            if (m_text[m_pos] == '\n') ++m_line;
            ++m_pos;
        }
        if (m_pos >= m_text.size())
            stopDataFault(m_name + " ENDS BEFORE A RECORD IS COMPLETE (LINE " +
                          std::to_string(m_inRecord ? m_recordLine : m_line) + ")");
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !isSeparator(m_text[m_pos]))
            ++m_pos;
        if (!m_inRecord) m_recordLine = m_line;
        m_inRecord = true;
        return std::string_view(m_text).substr(start, m_pos - start);
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
