#pragma once
// A text output file written through an in-memory buffer: reports are written line by line in many
// small pieces, and one large write at a time keeps that cheap.

#include <unistd.h>

#include <cerrno>
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
        // The old file is overwritten and cut to its new length when closed, not truncated to zero
        // first: file systems flush a file truncated to zero to disk on close, and the run would
        // wait for the disk at every output file (a new file each time costs more as well).
        m_file = std::fopen(path.c_str(), "r+b");
        if (!m_file) m_file = std::fopen(path.c_str(), "wb");
        m_written = 0;
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
        if (m_file && !m_buffer.empty()) {
            const size_t written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
            m_written += written;
            if (written != m_buffer.size()) fail();
        }
        m_buffer.clear();
    }
    /// Returns false when any of the text could not be written (a full disk, a quota): the file is
    /// then not whole, and the caller removes it rather than leave a cut output.
    bool close() {
        flush();
        if (m_file) {
            if (std::fflush(m_file) != 0) fail();
            if (ftruncate(fileno(m_file), static_cast<off_t>(m_written)) != 0) fail();
            if (std::fclose(m_file) != 0) fail();
        }
        m_file = nullptr;
        const bool whole = !m_failed;
        m_failed = false;
        return whole;
    }
    /// Why the last close that returned false failed (an errno value).
    int error() const { return m_errno; }

private:
    void fail() {
        if (!m_failed) m_errno = errno;
        m_failed = true;
    }

    static constexpr size_t kFlushSize = 1 << 16;
    std::FILE* m_file = nullptr;
    size_t m_written = 0;
    bool m_failed = false;
    int m_errno = 0;
    std::string m_buffer;
};

}  // namespace engine
