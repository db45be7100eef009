#pragma once
// A compact binary stream of typed values (integers, booleans, strings, extended reals and lists), used
// for definitions that travel between the program's resources and its objects. Each value carries a tag,
// so a reader notices a value of the wrong type instead of misreading it.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace app::model {

/// A stream that ends early or holds a value of another type than the one asked for.
class EReadError : public std::runtime_error {
public:
    explicit EReadError(const std::string& message) : std::runtime_error(message) {}
};

class TTypedWriter {
public:
    void WriteInteger(std::int32_t value);
    void WriteBoolean(bool value);
    void WriteString(std::string_view value);
    void WriteFloat(long double value);  // exact: sign, exponent and 64-bit mantissa
    void WriteListBegin();
    void WriteListEnd();

    [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void put(std::uint64_t value, int byteCount);
    std::vector<std::uint8_t> m_bytes;
};

/// Reads what a TTypedWriter wrote; every method throws EReadError on a missing or mistyped value.
class TTypedReader {
public:
    explicit TTypedReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::int32_t ReadInteger();
    bool ReadBoolean();
    std::string ReadString();
    long double ReadFloat();
    void ReadListBegin();
    /// True when the next value is the end of the current list (which is not consumed).
    [[nodiscard]] bool EndOfList() const;
    void ReadListEnd();
    /// A whole list of strings (list begin, strings, list end).
    std::vector<std::string> ReadStringList();

    [[nodiscard]] bool AtEnd() const { return m_position >= m_bytes.size(); }

private:
    void expectTag(std::uint8_t tag);
    std::uint64_t take(int byteCount);

    std::span<const std::uint8_t> m_bytes;
    size_t m_position = 0;
};

}  // namespace app::model
