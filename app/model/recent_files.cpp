#include "app/model/recent_files.h"

#include <algorithm>

namespace app::model {

void TRecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    const auto found = std::find(m_entries.begin(), m_entries.end(), path);
    if (found != m_entries.end() && found == m_entries.begin()) return;  // already the latest
    if (found != m_entries.end()) m_entries.erase(found);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > static_cast<std::size_t>(kMaxEntries)) m_entries.resize(kMaxEntries);
    if (OnChanged) OnChanged();
}

std::array<std::string, TRecentFiles::kMaxEntries> TRecentFiles::Values() const {
    std::array<std::string, kMaxEntries> values;
    std::copy(m_entries.begin(), m_entries.end(), values.begin());
    return values;
}

void TRecentFiles::SetValues(const std::array<std::string, kMaxEntries>& values) {
    m_entries.clear();
    for (const std::string& value : values)
        if (!value.empty() && std::find(m_entries.begin(), m_entries.end(), value) == m_entries.end())
            m_entries.push_back(value);
}

void TRecentFiles::Clear() {
    m_entries.clear();
}

std::string TRecentFiles::Caption(int index, const std::string& currentFolder) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) return {};
    std::string path = m_entries[static_cast<std::size_t>(index)];
    std::string folder = currentFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (!folder.empty()) {
        const std::string prefix = folder == "/" ? folder : folder + "/";
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0)
            path.erase(0, prefix.size());
    }
    return std::to_string(index + 1).append(" ").append(path);
}

}  // namespace app::model
