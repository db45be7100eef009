#pragma once
// A text output file written through an in-memory buffer: reports are written line by line in many
// small pieces, and one large write at a time keeps that cheap.

#include <cstdio>
#include <string>

namespace engine {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { close(); }

    /// Creates or replaces the file. Returns false when it cannot be opened.
    bool open(const std::string& path) {
        close();
        // A new file rather than the old one truncated: file systems flush a truncated file to disk
        // on close, and the run would wait for the disk at every output file.
        std::remove(path.c_str());
        m_file = std::fopen(path.c_str(), "wb");
        return m_file != nullptr;
    }
    bool isOpen() const { return m_file != nullptr; }

    /// The text appended here reaches the file at the latest when it is closed.
    std::string& buffer() { return m_buffer; }
    void append(const std::string& s) {
        m_buffer += s;
        if (m_buffer.size() > kFlushSize) flush();
    }
    void flush() {
        if (m_file && !m_buffer.empty()) std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_buffer.clear();
    }
    void close() {
        flush();
        if (m_file) std::fclose(m_file);
        m_file = nullptr;
    }

private:
    static constexpr size_t kFlushSize = 1 << 16;
    std::FILE* m_file = nullptr;
    std::string m_buffer;
};

}  // namespace engine
