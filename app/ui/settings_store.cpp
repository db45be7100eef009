#include "app/ui/settings_store.h"

#include <QSettings>

namespace app::ui {

namespace {

QString fileKey(std::size_t i) {
    return QStringLiteral("File%1").arg(i + 1);
}

}  // namespace

TSettingsStore::TSettingsStore(const QString& iniFile)
    : m_settings(iniFile.isEmpty()
                     ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                   QStringLiteral("Quillon"), QStringLiteral("DRENOK"))
                     : std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
    m_settings->beginGroup(QString::fromLatin1(kSettingsKeyPath));
}

TSettingsStore::~TSettingsStore() = default;

bool TSettingsStore::Read(TSettingsValues& values) const {
    values = TSettingsValues{};
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) return false;
    values.WordProcessor = m_settings->value(QString::fromLatin1(kWordProcessorValue)).toString();
    for (std::size_t i = 0; i < values.Files.size(); ++i)
        values.Files[i] = m_settings->value(fileKey(i)).toString().toStdString();
    values.UpdateUrl = m_settings->value(QString::fromLatin1(kUpdateUrlValue)).toString();
    values.SupportEmail = m_settings->value(QString::fromLatin1(kSupportEmailValue)).toString();
    values.WebSite = m_settings->value(QString::fromLatin1(kWebSiteValue)).toString();
    return true;
}

bool TSettingsStore::WriteFiles(const std::array<std::string, 10>& files) {
    for (std::size_t i = 0; i < files.size(); ++i)
        m_settings->setValue(fileKey(i), QString::fromStdString(files[i]));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool TSettingsStore::Write(const QString& wordProcessor, const std::array<std::string, 10>& files) {
    m_settings->setValue(QString::fromLatin1(kWordProcessorValue), wordProcessor);
    return WriteFiles(files);
}

}  // namespace app::ui
