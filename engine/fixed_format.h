#pragma once
// Fixed-width output driven by edit-descriptor layouts such as "(2X,I4,2X,E10.3,6E12.3)".
//
// Supported descriptors: Iw, Iw.m, Fw.d, Ew.d, Dw.d, Lw, Aw, A, nX, '/', 'text' (an apostrophe inside a
// text is doubled, as in 'SPECIFIED''TOLERANCE'), and repeated groups n(...). A repeat count may
// precede any data descriptor (6E12.3) and a literal or slash (73('='), 2/). Items are consumed left
// to right; when they run out, output stops at the next data descriptor; when the layout ends with
// items left, the line ends and output resumes at the last top-level group (or the whole layout).
// Blanks from nX reach the line only when something follows them on the same line.
//
// Numbers too wide for their field become asterisks. E and D fields use a 0.d mantissa; exponents
// beyond two digits drop the letter (0.100+101).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace engine::ff {

/// One item of an output list: an integer, a real or a text.
class Arg {
public:
    enum class Kind { Int, Real, Text, Logical };
    Arg(int v) : m_kind(Kind::Int), m_int(v) {}
    Arg(long v) : m_kind(Kind::Int), m_int(v) {}
    Arg(long long v) : m_kind(Kind::Int), m_int(v) {}
    Arg(double v) : m_kind(Kind::Real), m_real(v) {}
    Arg(std::string_view v) : m_kind(Kind::Text), m_text(v) {}
    Arg(const char* v) : m_kind(Kind::Text), m_text(v) {}
    Arg(const std::string& v) : m_kind(Kind::Text), m_text(v) {}

    /// A logical value for an Lw field (written T or F).
    static Arg logical(bool v) {
        Arg a(v ? 1 : 0);
        a.m_kind = Kind::Logical;
        return a;
    }

    Kind kind() const { return m_kind; }
    long long asInt() const;
    double asReal() const;
    std::string_view asText() const { return m_text; }
    char asLogicalChar() const { return m_int != 0 ? 'T' : 'F'; }

private:
    Kind m_kind;
    long long m_int = 0;
    double m_real = 0.0;
    std::string_view m_text;
};

/// Renders a layout with its items. Every line, the last one included, ends with '\n'.
/// Throws std::invalid_argument for a malformed layout or an item whose kind does not suit its
/// descriptor (a programming error, never a data fault).
[[nodiscard]] std::string format(std::string_view layout, std::initializer_list<Arg> items = {});

/// Appends the rendering of a layout to `out`.
void formatTo(std::string& out, std::string_view layout, std::initializer_list<Arg> items = {});

/// A one-line layout of blanks and numeric fields only, such as "(I5,1X,E10.3,1X,E10.3)" or
/// "(21X,2F20.3)", compiled once for a loop that writes many such lines. Writes exactly what
/// formatTo writes for the same layout and values.
class NumericLine {
public:
    /// False (and the line unusable) for any layout with text, slashes or non-numeric fields.
    bool compile(std::string_view layout);
    /// Appends the line and its newline; `values` holds one value per field (integers for I).
    void write(std::string& out, std::initializer_list<double> values) const;
    size_t fieldCount() const { return m_count; }

private:
    struct Field {
        int blanks;
        char kind;  // I, F, E or D
        int w, d;
    };
    Field m_fields[8];
    size_t m_count = 0;
};

/// Renders one numeric field, for example formatField("E10.3", 12.34) == " 0.123E+02".
/// The descriptor is one of Iw, Iw.m (the value is rounded to an integer first), Fw.d, Ew.d, Dw.d.
[[nodiscard]] std::string formatField(std::string_view descriptor, double value);

}  // namespace engine::ff
