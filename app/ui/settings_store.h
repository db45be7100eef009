#pragma once
// The program's settings kept between starts: the text editor, the recent files and the addresses the
// Help menu uses. They live in the per-user settings under one key path.

#include <QString>
#include <array>
#include <memory>
#include <string>

#include "engine/version.h"

class QSettings;

namespace app::ui {

inline constexpr const char* kSettingsKeyPath = "SOFTWARE/Quillon/DRENOK/" DRENOK_VERSION;
inline constexpr const char* kWordProcessorValue = "Word Processor";
inline constexpr const char* kUpdateUrlValue = "UpdateURL";
inline constexpr const char* kSupportEmailValue = "SupportEmail";
inline constexpr const char* kWebSiteValue = "WebSite";

struct TSettingsValues {
    QString WordProcessor;  // empty: none stored
    std::array<std::string, 10> Files;
    QString UpdateUrl, SupportEmail, WebSite;
};

class TSettingsStore {
public:
    /// The user's settings; a non-empty `iniFile` names a file of its own instead (tests, portable use).
    explicit TSettingsStore(const QString& iniFile = QString());
    ~TSettingsStore();
    TSettingsStore(const TSettingsStore&) = delete;
    TSettingsStore& operator=(const TSettingsStore&) = delete;

    /// False when the store cannot be read; `values` is then left empty.
    bool Read(TSettingsValues& values) const;
    /// The editor and the ten file values; false when the store could not be written.
    bool Write(const QString& wordProcessor, const std::array<std::string, 10>& files);
    bool WriteFiles(const std::array<std::string, 10>& files);

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace app::ui
