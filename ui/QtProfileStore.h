#pragma once

#include <QSettings>
#include <memory>

#include "ProfileStore.h"

// The profile in QSettings: under Windows the user's registry, key Software, organisation,
// application, one subkey per section; elsewhere one INI file in the user's configuration
// folder with the same sections and entries.
class CQtProfileStore final : public IProfileStore {
public:
    // registryKey as the program's registry key, its parts separated by backslashes.
    static std::unique_ptr<CQtProfileStore> ForApplication(const QString& registryKey,
                                                           const QString& application);
    static std::unique_ptr<CQtProfileStore> AtFile(const QString& iniPath);

    explicit CQtProfileStore(std::unique_ptr<QSettings> settings);

    int GetInt(const std::string& section, const std::string& entry, int fallback) override;
    void SetInt(const std::string& section, const std::string& entry, int value) override;
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) override;
    void SetString(const std::string& section, const std::string& entry,
                   const std::string& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};
