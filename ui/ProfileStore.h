#pragma once

#include <string>

// Remembered settings by section and entry, as the windows keep them between runs.
class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual int GetInt(const std::string& section, const std::string& entry, int fallback) = 0;
    virtual void SetInt(const std::string& section, const std::string& entry, int value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback) = 0;
    virtual void SetString(const std::string& section, const std::string& entry,
                           const std::string& value) = 0;
};
