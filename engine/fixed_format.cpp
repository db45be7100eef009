#include "engine/fixed_format.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_map>
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

// Every field is built in a small buffer and appended to the output once: reports hold tens of
// thousands of fields, so this path avoids temporaries and the printf machinery.
class Field {
public:
    void put(char c) {
        if (m_len < sizeof m_buf) m_buf[m_len] = c;
        ++m_len;  // a field longer than the buffer is wider than any column: asterisks
    }
    void put(const char* s, size_t n) {
        for (size_t i = 0; i < n; ++i)
            put(s[i]);
    }
    size_t size() const { return m_len; }
    /// Appends the field right-aligned in `w` columns, or `w` asterisks when it does not fit.
    void appendTo(std::string& out, int w) const {
        const size_t width = static_cast<size_t>(w > 0 ? w : 0);
        if (m_len > width || m_len > sizeof m_buf) {
            out.append(width, '*');
            return;
        }
        out.append(width - m_len, ' ');
        out.append(m_buf, m_len);
    }

private:
    char m_buf[400];
    size_t m_len = 0;
};

void appendStars(std::string& out, int w) {
    out.append(static_cast<size_t>(w > 0 ? w : 0), '*');
}

// Infinity and NaN are written the way Fortran run-times do, so a fault never garbles a column.
void appendNonFinite(std::string& out, double v, int w) {
    Field f;
    if (std::isnan(v)) {
        if (w < 3) return appendStars(out, w);
        f.put("NaN", 3);
    } else {
        const bool neg = std::signbit(v);
        const int longSize = neg ? 9 : 8;
        if (neg) f.put('-');
        if (longSize <= w)
            f.put("Infinity", 8);
        else
            f.put("Inf", 3);
    }
    f.appendTo(out, w);
}

void appendInt(std::string& out, long long v, int w, int m) {
    char digits[24];
    size_t n = 0;
    if (!(m == 0 && v == 0)) {
        const unsigned long long mag =
            v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        n = static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, mag).ptr - digits);
    }
    if (m > w) return appendStars(out, w);
    Field f;
    if (v < 0) f.put('-');
    for (int i = static_cast<int>(n); i < m; ++i)
        f.put('0');
    f.put(digits, n);
    f.appendTo(out, w);
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// Digits of a > 0 rounded half to even, as 0.DIGITS x 10^exp10, to `keep` significant digits
/// (or, when `decimals` >= 0, to that many digits after the decimal point; `keep` then returns the
/// count). The value is scaled by an exact power of ten in one rounded operation, so the scaled
/// value is within 1E-7 of the true one: when it lies that close to a rounding boundary, or the
/// result is long or the scale far, the function returns false and the caller takes the exact
/// (slower) path.
bool shortRound(double a, int& keep, int decimals, char* digits, int& exp10) {
    if (!(a >= std::numeric_limits<double>::min()) || !(a < 1e300)) return false;
    // a = 1.f 2^k: log10(a) lies in [k log10 2, (k+1) log10 2), so this estimate is at most one
    // off and corrected below. 78913 / 2^18 is log10 2 to six digits.
    const int k = static_cast<int>((std::bit_cast<unsigned long long>(a) >> 52) & 0x7FF) - 1023;
    int e = (k * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (decimals >= 0) keep = e + 1 + decimals;
        if (keep < 1 || keep > 9) return false;
        const int shift = keep - 1 - e;
        if (shift > 22 || shift < -22) return false;
        const double scaled = shift >= 0 ? a * kPowersOfTen[shift] : a / kPowersOfTen[-shift];
        const double whole = static_cast<double>(static_cast<long long>(scaled));  // scaled < 1E10
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) < 1e-6) return false;
        // The logarithm may put e one off near a power of ten: then scale again.
        if (whole < kPowersOfTen[keep - 1]) {
            --e;
            continue;
        }
        if (whole >= kPowersOfTen[keep]) {
            ++e;
            continue;
        }
        auto r = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
        const auto high = static_cast<unsigned long long>(kPowersOfTen[keep]);
        exp10 = e + 1;
        if (r >= high) {  // 9.9996 became 10.000
            r /= 10;
            ++exp10;
            if (decimals >= 0) {
                // one more digit before the point: one more to keep, and it is a zero
                digits[keep] = '0';
            }
        }
        for (int i = keep - 1; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + r % 10);
            r /= 10;
        }
        if (decimals >= 0) keep = exp10 + decimals;
        return true;
    }
    return false;
}

/// Appends `text` right-aligned in `w` columns in one piece (w at most 64), or asterisks.
void appendAligned(std::string& out, const char* text, int len, int w) {
    if (len > w) return appendStars(out, w);
    const size_t at = out.size();
    out.append(static_cast<size_t>(w), ' ');
    std::memcpy(&out[at + static_cast<size_t>(w - len)], text, static_cast<size_t>(len));
}

void appendFixed(std::string& out, double v, int w, int d) {
    if (!std::isfinite(v)) return appendNonFinite(out, v, w);
    if (d > 300 || std::fabs(v) >= 1e300) return appendStars(out, w);
    char buf[700];
    size_t n = 0;
    const double a = std::fabs(v);
    char digits[16];
    int exp10 = 0, keep = 0;
    if (a != 0.0 && shortRound(a, keep, d, digits, exp10)) {
        // keep digits are valid; a carry may have moved the point one place right.
        if (exp10 <= 0) {
            buf[n++] = '0';
        } else {
            for (int i = 0; i < exp10; ++i)
                buf[n++] = i < keep ? digits[i] : '0';
        }
        buf[n++] = '.';
        for (int k = 0; k < d; ++k) {
            const int i = exp10 + k;
            buf[n++] = i >= 0 && i < keep ? digits[i] : '0';
        }
    } else {
        // Exact decimal expansion of the binary value, rounded half to even, as the Fortran run-time does.
        const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, d);
        if (res.ec != std::errc()) return appendStars(out, w);
        n = static_cast<size_t>(res.ptr - buf);
        if (d == 0) buf[n++] = '.';
    }
    const bool negative = std::signbit(v);
    size_t skip = 0;
    if (static_cast<int>(n) + (negative ? 1 : 0) > w && n > 1 && buf[0] == '0' && buf[1] == '.')
        skip = 1;  // the leading zero is optional when there is no room for it
    if (n - skip + (negative ? 1 : 0) > 399) return appendStars(out, w);
    if (w <= 64 && n - skip < 60) {
        char text[64];
        size_t len = 0;
        if (negative) text[len++] = '-';
        std::memcpy(text + len, buf + skip, n - skip);
        return appendAligned(out, text, static_cast<int>(len + n - skip), w);
    }
    Field f;
    if (negative) f.put('-');
    f.put(buf + skip, n - skip);
    f.appendTo(out, w);
}

void appendExponent(std::string& out, double v, int w, int d, char letter) {
    if (!std::isfinite(v)) return appendNonFinite(out, v, w);
    if (d > 300) return appendStars(out, w);
    if (w <= 64 && v != 0.0) {  // the common field, built in place
        char digits[16];
        int exponent = 0;
        int keep = d;
        if (shortRound(std::fabs(v), keep, -1, digits, exponent) && exponent <= 99 && exponent >= -99) {
            const bool negative = std::signbit(v);
            const int len = (negative ? 1 : 0) + 2 + d + 4;  // sign, "0.", digits, E+nn
            char text[32];
            char* q = text;
            if (negative) *q++ = '-';
            if (len <= w) *q++ = '0';  // the leading zero goes first when the field is too narrow
            *q++ = '.';
            std::memcpy(q, digits, static_cast<size_t>(d));
            q += d;
            const int mag = exponent < 0 ? -exponent : exponent;
            *q++ = letter;
            *q++ = exponent < 0 ? '-' : '+';
            *q++ = static_cast<char>('0' + mag / 10);
            *q++ = static_cast<char>('0' + mag % 10);
            return appendAligned(out, text, static_cast<int>(q - text), w);
        }
    }
    char digits[400];
    size_t nd = 0;
    int exponent = 0;
    if (v == 0.0) {
        for (int i = 0; i < d; ++i)
            digits[nd++] = '0';
    } else if (int keep = d; shortRound(std::fabs(v), keep, -1, digits, exponent)) {
        nd = static_cast<size_t>(d);
    } else {
        char buf[400];
        const auto res =
            std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, d - 1);
        if (res.ec != std::errc()) return appendStars(out, w);
        const char* p = buf;
        for (; p < res.ptr && *p != 'e'; ++p)
            if (*p != '.') digits[nd++] = *p;
        int e = 0;
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, e);
        exponent = e + 1;  // 1.23e+01 is 0.123E+02
    }
    const int mag = exponent < 0 ? -exponent : exponent;
    if (mag > 999) return appendStars(out, w);
    char exp[5];
    size_t ne = 0;
    if (mag <= 99) exp[ne++] = letter;  // three-digit exponents drop the letter
    exp[ne++] = exponent < 0 ? '-' : '+';
    if (mag > 99) exp[ne++] = static_cast<char>('0' + mag / 100);
    exp[ne++] = static_cast<char>('0' + mag / 10 % 10);
    exp[ne++] = static_cast<char>('0' + mag % 10);
    const bool negative = std::signbit(v);
    Field f;
    if (negative) f.put('-');
    // The leading zero of the mantissa goes first when the field is too narrow for it.
    if (static_cast<int>(nd + ne) + 2 + (negative ? 1 : 0) <= w) f.put('0');
    f.put('.');
    f.put(digits, nd);
    f.put(exp, ne);
    f.appendTo(out, w);
}

void appendText(std::string& out, std::string_view s, int w) {
    if (w < 0) {
        out += s;  // plain A: the text as it is
    } else if (static_cast<int>(s.size()) >= w) {
        out += s.substr(0, static_cast<size_t>(w));
    } else {
        out.append(static_cast<size_t>(w) - s.size(), ' ');
        out += s;
    }
}

// ---- layout parsing ------------------------------------------------------------------------

enum class Op { Literal, Skip, Slash, Int, Fixed, Exp, DExp, Text, Logical };

struct Descriptor {
    Op op;
    int w = -1;  // width; -1 for plain A
    int d = -1;  // decimals, or minimum digits of Iw.m (-1 when absent)
    std::string text;
    bool isData() const {
        return op == Op::Int || op == Op::Fixed || op == Op::Exp || op == Op::DExp || op == Op::Text ||
               op == Op::Logical;
    }
};

struct Parsed {
    std::vector<Descriptor> flat;
    size_t reversion = 0;          // where output resumes when items remain at the end
    bool revertedHasData = false;  // the part from `reversion` on consumes items
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
        // Only what is repeated counts: a repeated part without data descriptors would never end.
        for (size_t k = p.reversion; k < p.flat.size(); ++k)
            p.revertedHasData = p.revertedHasData || p.flat[k].isData();
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
            reserveExpansion(out, inner.size() * static_cast<size_t>(repeat));
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
            reserveExpansion(out, static_cast<size_t>(repeat));
            for (int r = 0; r < repeat; ++r)
                out.push_back({Op::Literal, -1, -1, text});
            return;
        }
        if (c == '/') {
            ++m_i;
            reserveExpansion(out, static_cast<size_t>(repeat));
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
            case 'L':
                d.op = Op::Logical;
                break;
            default:
                bad(m_s, "unknown descriptor");
        }
        d.w = number();
        if (d.op != Op::Text && d.w < 1) bad(m_s, "missing width");
        if (d.op == Op::Text && d.w == 0) bad(m_s, "zero width");
        if (peek('.')) {
            if (d.op == Op::Text || d.op == Op::Logical) bad(m_s, "A and L take no decimals");
            ++m_i;
            d.d = number();
            if (d.d < 0) bad(m_s, "missing decimals");
        } else if (d.op == Op::Fixed || d.op == Op::Exp || d.op == Op::DExp) {
            bad(m_s, "missing decimals");
        }
        if ((d.op == Op::Exp || d.op == Op::DExp) && d.d < 1) bad(m_s, "exponent form needs a decimal");
        reserveExpansion(out, static_cast<size_t>(repeat));
        for (int r = 0; r < repeat; ++r)
            out.push_back(d);
    }

    // Nested repeat counts multiply: a layout that would expand beyond any line a report holds is
    // refused before it is expanded.
    void reserveExpansion(const std::vector<Descriptor>& out, size_t more) {
        constexpr size_t kMaxDescriptors = 100000;
        if (more > kMaxDescriptors || out.size() + more > kMaxDescriptors) bad(m_s, "layout expands too far");
    }

    std::string_view m_s;
    size_t m_i = 0;
};

void appendField(std::string& out, const Descriptor& d, const Arg& a) {
    switch (d.op) {
        case Op::Int:
            return appendInt(out, a.asInt(), d.w, d.d);
        case Op::Fixed:
            return appendFixed(out, a.asReal(), d.w, d.d);
        case Op::Exp:
            return appendExponent(out, a.asReal(), d.w, d.d, 'E');
        case Op::DExp:
            return appendExponent(out, a.asReal(), d.w, d.d, 'D');
        case Op::Logical:
            if (a.kind() != Arg::Kind::Logical)
                throw std::invalid_argument("L descriptor given a non-logical item");
            out.append(static_cast<size_t>(d.w - 1), ' ');
            out += a.asLogicalChar();
            return;
        case Op::Text:
            if (a.kind() != Arg::Kind::Text) throw std::invalid_argument("A descriptor given a number");
            return appendText(out, a.asText(), d.w);
        default:
            return;
    }
}

// Layouts are few and used over and over: each is parsed once per thread.
const Parsed& parsed(std::string_view layout) {
    // Most layouts are literals passed again and again from the same address: a small table keyed
    // by address (content compared, since a buffer may be reused) spares hashing the text.
    struct Recent {
        const char* data = nullptr;
        std::string text;
        const Parsed* parsed = nullptr;
    };
    struct Cache {
        std::unordered_map<std::string, Parsed> byText;
        Recent recent[64];
        std::string key;
        std::size_t descriptors = 0;  // held by byText
    };
    thread_local Cache cache;
    Cache& c = cache;
    Recent& slot = c.recent[(reinterpret_cast<std::uintptr_t>(layout.data()) >> 3) & 63];
    if (slot.data == layout.data() && slot.text == layout) return *slot.parsed;
    c.key.assign(layout);
    auto it = c.byText.find(c.key);
    if (it == c.byText.end()) {
        // The engine's layouts are a few hundred short ones; layouts made at run time (or by a
        // fuzzer) must not grow the cache without bound. Starting afresh drops the recent slots that
        // point into it.
        constexpr std::size_t kMaxCachedLayouts = 4096;
        constexpr std::size_t kMaxCachedDescriptors = 200000;
        Parsed fresh = Parser(layout).parse();
        if (c.byText.size() >= kMaxCachedLayouts ||
            c.descriptors + fresh.flat.size() > kMaxCachedDescriptors) {
            c.byText.clear();
            c.descriptors = 0;
            for (Recent& r : c.recent)
                r = Recent{};
        }
        c.descriptors += fresh.flat.size();
        it = c.byText.emplace(c.key, std::move(fresh)).first;
    }
    slot.data = layout.data();
    slot.text = c.key;
    slot.parsed = &it->second;  // nodes of the map stay where they are
    return it->second;
}

}  // namespace

void formatTo(std::string& out, std::string_view layout, std::initializer_list<Arg> items) {
    const Parsed& p = parsed(layout);
    const Arg* item = items.begin();
    const Arg* const end = items.end();
    size_t pendingBlanks = 0;
    size_t i = 0;
    for (;;) {
        if (i == p.flat.size()) {
            if (item == end) break;
            if (!p.revertedHasData) bad(layout, "items left but no data descriptor to repeat");
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
                appendField(out, d, *item++);
                break;
        }
        ++i;
    }
    out += '\n';
}

bool NumericLine::compile(std::string_view layout) {
    m_count = 0;
    const Parsed& p = parsed(layout);
    int blanks = 0;
    for (const Descriptor& d : p.flat) {
        switch (d.op) {
            case Op::Skip:
                blanks += d.w;
                break;
            case Op::Int:
            case Op::Fixed:
            case Op::Exp:
            case Op::DExp: {
                if (m_count == sizeof m_fields / sizeof m_fields[0]) return (m_count = 0) != 0;
                const char kind = d.op == Op::Int     ? 'I'
                                  : d.op == Op::Fixed ? 'F'
                                  : d.op == Op::Exp   ? 'E'
                                                      : 'D';
                m_fields[m_count++] = {blanks, kind, d.w, d.d};
                blanks = 0;
                break;
            }
            default:
                return (m_count = 0) != 0;
        }
    }
    return m_count > 0;
}

void NumericLine::write(std::string& out, std::initializer_list<double> values) const {
    if (values.size() != m_count)
        throw std::invalid_argument("numeric line given the wrong number of values");
    const double* v = values.begin();
    for (size_t i = 0; i < m_count; ++i) {
        const Field& f = m_fields[i];
        out.append(static_cast<size_t>(f.blanks), ' ');
        switch (f.kind) {
            case 'I':
                if (!std::isfinite(v[i]) || std::fabs(v[i]) > 9.2e18)
                    appendStars(out, f.w);
                else
                    appendInt(out, std::llround(v[i]), f.w, f.d);
                break;
            case 'F':
                appendFixed(out, v[i], f.w, f.d);
                break;
            case 'E':
                appendExponent(out, v[i], f.w, f.d, 'E');
                break;
            default:
                appendExponent(out, v[i], f.w, f.d, 'D');
                break;
        }
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
    if (p.flat.size() != 1 || !p.flat[0].isData() || p.flat[0].op == Op::Text || p.flat[0].op == Op::Logical)
        bad(descriptor, "not a single numeric field");
    const Descriptor& d = p.flat[0];
    std::string out;
    if (d.op == Op::Int) {
        if (!std::isfinite(value) || std::fabs(value) > 9.2e18)
            appendStars(out, d.w);
        else
            appendInt(out, std::llround(value), d.w, d.d);
        return out;
    }
    appendField(out, d, Arg(value));
    return out;
}

}  // namespace engine::ff
