#include "engine/fixed_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace engine::ff {

long long Arg::asInt() const {
    if (m_kind != Kind::Int) throw std::invalid_argument("integer descriptor given a non-integer item");
    return m_int;
}

double Arg::asReal() const {
    if (m_kind != Kind::Real) throw std::invalid_argument("real descriptor given a non-real item");
    return m_real;
}

namespace {

std::string stars(int w) {
    return std::string(static_cast<size_t>(w > 0 ? w : 0), '*');
}

std::string rightAlign(const std::string& s, int w) {
    if (static_cast<int>(s.size()) > w) return stars(w);
    return std::string(static_cast<size_t>(w) - s.size(), ' ') + s;
}

// Infinity and NaN are written the way Fortran run-times do, so a fault never garbles a column.
std::string nonFinite(double v, int w) {
    if (std::isnan(v)) return w >= 3 ? rightAlign("NaN", w) : stars(w);
    const bool neg = std::signbit(v);
    const std::string longForm = neg ? "-Infinity" : "Infinity";
    const std::string shortForm = neg ? "-Inf" : "Inf";
    if (static_cast<int>(longForm.size()) <= w) return rightAlign(longForm, w);
    return rightAlign(shortForm, w);
}

std::string formatInt(long long v, int w, int m) {
    std::string digits;
    if (!(m == 0 && v == 0)) {
        const unsigned long long mag =
            v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        digits = std::to_string(mag);
    }
    std::string text;
    if (v < 0) text += '-';
    if (m > 0 && static_cast<int>(digits.size()) < m)
        text.append(static_cast<size_t>(m) - digits.size(), '0');
    text += digits;
    return rightAlign(text, w);
}

std::string formatFixed(double v, int w, int d) {
    if (!std::isfinite(v)) return nonFinite(v, w);
    char buf[512];
    // %.*f rounds the exact binary value half to even, as the Fortran run-time does.
    const int n = std::snprintf(buf, sizeof buf, "%.*f", d, std::fabs(v));
    if (n < 0 || n >= static_cast<int>(sizeof buf)) return stars(w);
    std::string body(buf, static_cast<size_t>(n));
    if (d == 0) body += '.';
    const bool negative = std::signbit(v);
    size_t skip = 0;
    if (static_cast<int>(body.size()) + (negative ? 1 : 0) > w && body.size() > 1 && body[0] == '0' &&
        body[1] == '.')
        skip = 1;  // the leading zero is optional when there is no room for it
    std::string text = negative ? "-" : "";
    text.append(body, skip, std::string::npos);
    return rightAlign(text, w);
}

std::string formatExponent(double v, int w, int d, char letter) {
    if (!std::isfinite(v)) return nonFinite(v, w);
    std::string digits;
    int exponent = 0;
    if (v == 0.0) {
        digits.assign(static_cast<size_t>(d), '0');
    } else {
        char buf[64];
        const int n = std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(v));
        if (n < 0 || n >= static_cast<int>(sizeof buf)) return stars(w);
        const std::string s(buf, static_cast<size_t>(n));
        const size_t epos = s.find('e');
        for (size_t i = 0; i < epos; ++i)
            if (std::isdigit(static_cast<unsigned char>(s[i]))) digits += s[i];
        exponent = std::atoi(s.c_str() + epos + 1) + 1;  // 1.23e+01 is 0.123E+02
    }
    const int mag = std::abs(exponent);
    std::string exp;
    if (mag <= 99) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%c%c%02d", letter, exponent < 0 ? '-' : '+', mag);
        exp = buf;
    } else if (mag <= 999) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%c%03d", exponent < 0 ? '-' : '+', mag);
        exp = buf;
    } else {
        return stars(w);
    }
    const bool negative = std::signbit(v);
    std::string text = negative ? "-" : "";
    // The leading zero of the mantissa goes first when the field is too narrow for it.
    if (static_cast<int>(digits.size() + exp.size()) + 2 + (negative ? 1 : 0) <= w) text += '0';
    text += '.';
    text += digits;
    text += exp;
    return rightAlign(text, w);
}

std::string formatText(std::string_view s, int w) {
    if (w < 0) return std::string(s);  // plain A: the text as it is
    if (static_cast<int>(s.size()) >= w) return std::string(s.substr(0, static_cast<size_t>(w)));
    return std::string(static_cast<size_t>(w) - s.size(), ' ') + std::string(s);
}

// ---- layout parsing ------------------------------------------------------------------------

enum class Op { Literal, Skip, Slash, Int, Fixed, Exp, DExp, Text };

struct Descriptor {
    Op op;
    int w = -1;  // width; -1 for plain A
    int d = -1;  // decimals, or minimum digits of Iw.m (-1 when absent)
    std::string text;
    bool isData() const {
        return op == Op::Int || op == Op::Fixed || op == Op::Exp || op == Op::DExp || op == Op::Text;
    }
};

struct Parsed {
    std::vector<Descriptor> flat;
    size_t reversion = 0;  // where output resumes when items remain at the end
    bool hasData = false;
};

[[noreturn]] void bad(std::string_view layout, const char* why) {
    throw std::invalid_argument(std::string("bad layout ") + std::string(layout) + ": " + why);
}

class Parser {
public:
    explicit Parser(std::string_view layout) : m_s(layout) {}

    Parsed parse() {
        skipBlanks();
        expect('(');
        Parsed p;
        parseList(p.flat, /*topLevel=*/true, &p.reversion);
        expect(')');
        skipBlanks();
        if (m_i != m_s.size()) bad(m_s, "text after the closing parenthesis");
        for (const Descriptor& d : p.flat)
            p.hasData = p.hasData || d.isData();
        return p;
    }

private:
    void skipBlanks() {
        while (m_i < m_s.size() && m_s[m_i] == ' ')
            ++m_i;
    }
    bool peek(char c) {
        skipBlanks();
        return m_i < m_s.size() && m_s[m_i] == c;
    }
    void expect(char c) {
        if (!peek(c)) bad(m_s, "unexpected character");
        ++m_i;
    }
    int number() {
        skipBlanks();
        int v = 0;
        const size_t start = m_i;
        while (m_i < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[m_i]))) {
            v = v * 10 + (m_s[m_i] - '0');
            if (v > 100000) bad(m_s, "number too large");
            ++m_i;
        }
        return m_i == start ? -1 : v;
    }

    void parseList(std::vector<Descriptor>& out, bool topLevel, size_t* reversion) {
        if (peek(')')) return;
        for (;;) {
            parseItem(out, topLevel, reversion);
            if (peek(',')) {
                ++m_i;
                continue;
            }
            if (peek('/') || peek('\'')) continue;  // a slash or a text needs no comma before it
            if (peek(')')) return;
            // a slash may also directly follow an item
            bad(m_s, "expected ',' or ')'");
        }
    }

    void parseItem(std::vector<Descriptor>& out, bool topLevel, size_t* reversion) {
        skipBlanks();
        if (m_i >= m_s.size()) bad(m_s, "unexpected end");
        int repeat = number();
        const bool hasRepeat = repeat >= 0;
        if (!hasRepeat) repeat = 1;
        if (repeat < 1) bad(m_s, "zero repeat count");
        skipBlanks();
        if (m_i >= m_s.size()) bad(m_s, "unexpected end");
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(m_s[m_i])));
        if (c == '(') {
            ++m_i;
            std::vector<Descriptor> inner;
            parseList(inner, false, nullptr);
            expect(')');
            if (topLevel) *reversion = out.size();
            for (int r = 0; r < repeat; ++r)
                out.insert(out.end(), inner.begin(), inner.end());
            return;
        }
        if (c == '\'') {
            ++m_i;
            std::string text;
            for (;;) {
                if (m_i >= m_s.size()) bad(m_s, "unterminated text");
                if (m_s[m_i] == '\'') {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == '\'') {
                        text += '\'';
                        m_i += 2;
                        continue;
                    }
                    ++m_i;
                    break;
                }
                text += m_s[m_i++];
            }
            for (int r = 0; r < repeat; ++r)
                out.push_back({Op::Literal, -1, -1, text});
            return;
        }
        if (c == '/') {
            ++m_i;
            for (int r = 0; r < repeat; ++r)
                out.push_back({Op::Slash, -1, -1, {}});
            return;
        }
        if (c == 'X') {
            ++m_i;
            out.push_back({Op::Skip, repeat, -1, {}});  // nX: the count is the repeat
            return;
        }
        ++m_i;
        Descriptor d{Op::Literal, -1, -1, {}};
        switch (c) {
            case 'I':
                d.op = Op::Int;
                break;
            case 'F':
                d.op = Op::Fixed;
                break;
            case 'E':
                d.op = Op::Exp;
                break;
            case 'D':
                d.op = Op::DExp;
                break;
            case 'A':
                d.op = Op::Text;
                break;
            default:
                bad(m_s, "unknown descriptor");
        }
        d.w = number();
        if (d.op != Op::Text && d.w < 1) bad(m_s, "missing width");
        if (d.op == Op::Text && d.w == 0) bad(m_s, "zero width");
        if (peek('.')) {
            if (d.op == Op::Text) bad(m_s, "A takes no decimals");
            ++m_i;
            d.d = number();
            if (d.d < 0) bad(m_s, "missing decimals");
        } else if (d.op == Op::Fixed || d.op == Op::Exp || d.op == Op::DExp) {
            bad(m_s, "missing decimals");
        }
        if ((d.op == Op::Exp || d.op == Op::DExp) && d.d < 1) bad(m_s, "exponent form needs a decimal");
        for (int r = 0; r < repeat; ++r)
            out.push_back(d);
    }

    std::string_view m_s;
    size_t m_i = 0;
};

std::string renderField(const Descriptor& d, const Arg& a) {
    switch (d.op) {
        case Op::Int:
            return formatInt(a.asInt(), d.w, d.d);
        case Op::Fixed:
            return formatFixed(a.asReal(), d.w, d.d);
        case Op::Exp:
            return formatExponent(a.asReal(), d.w, d.d, 'E');
        case Op::DExp:
            return formatExponent(a.asReal(), d.w, d.d, 'D');
        case Op::Text:
            if (a.kind() != Arg::Kind::Text) throw std::invalid_argument("A descriptor given a number");
            return formatText(a.asText(), d.w);
        default:
            return {};
    }
}

}  // namespace

void formatTo(std::string& out, std::string_view layout, std::initializer_list<Arg> items) {
    const Parsed p = Parser(layout).parse();
    const Arg* item = items.begin();
    const Arg* const end = items.end();
    size_t pendingBlanks = 0;
    size_t i = 0;
    for (;;) {
        if (i == p.flat.size()) {
            if (item == end) break;
            if (!p.hasData) bad(layout, "items left but no data descriptor");
            out += '\n';
            pendingBlanks = 0;
            i = p.reversion;
            continue;
        }
        const Descriptor& d = p.flat[i];
        if (d.isData() && item == end) break;
        switch (d.op) {
            case Op::Skip:
                pendingBlanks += static_cast<size_t>(d.w);
                break;
            case Op::Slash:
                out += '\n';
                pendingBlanks = 0;
                break;
            case Op::Literal:
                out.append(pendingBlanks, ' ');
                pendingBlanks = 0;
                out += d.text;
                break;
            default:
                out.append(pendingBlanks, ' ');
                pendingBlanks = 0;
                out += renderField(d, *item++);
                break;
        }
        ++i;
    }
    out += '\n';
}

std::string format(std::string_view layout, std::initializer_list<Arg> items) {
    std::string out;
    formatTo(out, layout, items);
    return out;
}

std::string formatField(std::string_view descriptor, double value) {
    std::string layout = "(";
    layout += descriptor;
    layout += ')';
    const Parsed p = Parser(layout).parse();
    if (p.flat.size() != 1 || !p.flat[0].isData() || p.flat[0].op == Op::Text)
        bad(descriptor, "not a single numeric field");
    const Descriptor& d = p.flat[0];
    if (d.op == Op::Int) {
        if (!std::isfinite(value) || std::fabs(value) > 9.2e18) return stars(d.w);
        return formatInt(std::llround(value), d.w, d.d);
    }
    return renderField(d, Arg(value));
}

}  // namespace engine::ff
