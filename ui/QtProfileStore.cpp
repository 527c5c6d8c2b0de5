#include "QtProfileStore.h"

#include <QStandardPaths>

namespace {

QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section + "/" + entry);
}

}  // namespace

std::unique_ptr<CQtProfileStore> CQtProfileStore::ForApplication(const QString& registryKey,
                                                                 const QString& application) {
#ifdef _WIN32
    return std::make_unique<CQtProfileStore>(std::make_unique<QSettings>(
        "HKEY_CURRENT_USER\\Software\\" + registryKey + "\\" + application,
        QSettings::NativeFormat));
#else
    QString folder = registryKey;
    folder.replace('\\', '/');
    return AtFile(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
                  folder + "/" + application + ".ini");
#endif
}

std::unique_ptr<CQtProfileStore> CQtProfileStore::AtFile(const QString& iniPath) {
    return std::make_unique<CQtProfileStore>(
        std::make_unique<QSettings>(iniPath, QSettings::IniFormat));
}

CQtProfileStore::CQtProfileStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings)) {}

int CQtProfileStore::GetInt(const std::string& section, const std::string& entry, int fallback) {
    bool ok = false;
    const int value = m_settings->value(Key(section, entry), fallback).toInt(&ok);
    return ok ? value : fallback;
}

void CQtProfileStore::SetInt(const std::string& section, const std::string& entry, int value) {
    m_settings->setValue(Key(section, entry), value);
    m_settings->sync();
}

std::string CQtProfileStore::GetString(const std::string& section, const std::string& entry,
                                       const std::string& fallback) {
    return m_settings->value(Key(section, entry), QString::fromStdString(fallback))
        .toString()
        .toStdString();
}

void CQtProfileStore::SetString(const std::string& section, const std::string& entry,
                                const std::string& value) {
    m_settings->setValue(Key(section, entry), QString::fromStdString(value));
    m_settings->sync();
}
