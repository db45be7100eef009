#include "app/model/typed_stream.h"

#include <cmath>
#include <limits>

namespace app::model {

namespace {

enum Tag : std::uint8_t {
    kTagListEnd = 0,
    kTagList = 1,
    kTagInteger = 2,
    kTagFloat = 3,
    kTagString = 4,
    kTagFalse = 5,
    kTagTrue = 6,
};

// Kinds of a stored real; the non-finite ones carry no exponent and mantissa.
enum FloatClass : std::uint8_t { kFinite = 0, kInfinite = 1, kNaN = 2 };

const char* const kTruncated = "Unexpected end of stream";
const char* const kWrongType = "Wrong type of value in stream";

}  // namespace

void TTypedWriter::put(std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void TTypedWriter::WriteInteger(std::int32_t value) {
    m_bytes.push_back(kTagInteger);
    put(static_cast<std::uint32_t>(value), 4);
}

void TTypedWriter::WriteBoolean(bool value) {
    m_bytes.push_back(value ? kTagTrue : kTagFalse);
}

void TTypedWriter::WriteString(std::string_view value) {
    m_bytes.push_back(kTagString);
    put(value.size(), 4);
    m_bytes.insert(m_bytes.end(), value.begin(), value.end());
}

void TTypedWriter::WriteFloat(long double value) {
    m_bytes.push_back(kTagFloat);
    m_bytes.push_back(std::signbit(value) ? 1 : 0);
    if (std::isnan(value)) {
        m_bytes.push_back(kNaN);
        return;
    }
    if (std::isinf(value)) {
        m_bytes.push_back(kInfinite);
        return;
    }
    m_bytes.push_back(kFinite);
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1) or 0
    // 64 bits hold the whole mantissa of an extended real.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    put(static_cast<std::uint32_t>(exponent), 4);
    put(mantissa, 8);
}

void TTypedWriter::WriteListBegin() {
    m_bytes.push_back(kTagList);
}
void TTypedWriter::WriteListEnd() {
    m_bytes.push_back(kTagListEnd);
}

std::uint64_t TTypedReader::take(int byteCount) {
    if (m_bytes.size() - m_position < static_cast<size_t>(byteCount)) throw EReadError(kTruncated);
    std::uint64_t value = 0;
    for (int i = 0; i < byteCount; ++i)
        value |= static_cast<std::uint64_t>(m_bytes[m_position++]) << (8 * i);
    return value;
}

void TTypedReader::expectTag(std::uint8_t tag) {
    if (AtEnd()) throw EReadError(kTruncated);
    if (m_bytes[m_position] != tag) throw EReadError(kWrongType);
    ++m_position;
}

std::int32_t TTypedReader::ReadInteger() {
    expectTag(kTagInteger);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(take(4)));
}

bool TTypedReader::ReadBoolean() {
    if (AtEnd()) throw EReadError(kTruncated);
    const std::uint8_t tag = m_bytes[m_position];
    if (tag != kTagTrue && tag != kTagFalse) throw EReadError(kWrongType);
    ++m_position;
    return tag == kTagTrue;
}

std::string TTypedReader::ReadString() {
    expectTag(kTagString);
    const auto length = static_cast<size_t>(take(4));
    if (m_bytes.size() - m_position < length) throw EReadError(kTruncated);
    std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_position), length);
    m_position += length;
    return text;
}

long double TTypedReader::ReadFloat() {
    expectTag(kTagFloat);
    const bool negative = take(1) != 0;
    const auto kind = static_cast<std::uint8_t>(take(1));
    long double magnitude = 0.0L;
    if (kind == kNaN) {
        magnitude = std::numeric_limits<long double>::quiet_NaN();
    } else if (kind == kInfinite) {
        magnitude = std::numeric_limits<long double>::infinity();
    } else if (kind == kFinite) {
        const auto exponent = static_cast<std::int32_t>(static_cast<std::uint32_t>(take(4)));
        const std::uint64_t mantissa = take(8);
        magnitude = std::ldexp(static_cast<long double>(mantissa), exponent - 64);
    } else {
        throw EReadError(kWrongType);
    }
    return negative ? -magnitude : magnitude;
}

void TTypedReader::ReadListBegin() {
    expectTag(kTagList);
}

bool TTypedReader::EndOfList() const {
    return !AtEnd() && m_bytes[m_position] == kTagListEnd;
}

void TTypedReader::ReadListEnd() {
    expectTag(kTagListEnd);
}

std::vector<std::string> TTypedReader::ReadStringList() {
    ReadListBegin();
    std::vector<std::string> list;
    while (!EndOfList())
        list.push_back(ReadString());
    ReadListEnd();
    return list;
}

}  // namespace app::model
