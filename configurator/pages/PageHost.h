#pragma once

#include "PrinterSettings.h"

// What a page needs from the main window.
class IPageHost {
public:
    virtual ~IPageHost() = default;
    virtual const PrinterSettings& Settings() const = 0;
};
