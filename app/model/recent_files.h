#pragma once
// The File menu's list of recently used data files: at most ten full paths, most recent first.
// The main window keeps it in the settings store as the values "File1" … "File10".

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace app::model {

class TRecentFiles {
public:
    static constexpr int kMaxEntries = 10;

    /// Moves `path` to the top: an entry already in the list moves up, otherwise the others shift down
    /// and the tenth is dropped. An empty path changes nothing. Calls OnChanged after a change.
    void Add(const std::string& path);

    /// The paths in use, most recent first.
    [[nodiscard]] const std::vector<std::string>& Entries() const { return m_entries; }

    /// The ten settings values "File1" … "File10" in order; empty strings for entries not in use.
    [[nodiscard]] std::array<std::string, kMaxEntries> Values() const;
    /// The list as read from the settings values; empty values and repeated paths are skipped.
    void SetValues(const std::array<std::string, kMaxEntries>& values);
    void Clear();

    /// Menu caption of entry `index` (0-based): its number from 1, a blank and the path, with the
    /// current folder and its separator removed from the front when the path lies inside it.
    [[nodiscard]] std::string Caption(int index, const std::string& currentFolder) const;

    /// Called after Add changed the list, so the interface writes the settings at once.
    std::function<void()> OnChanged;

private:
    std::vector<std::string> m_entries;
};

}  // namespace app::model
