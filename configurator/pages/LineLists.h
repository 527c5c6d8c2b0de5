#pragma once

#include <QStringList>

// The line parameter lists shared by the connection page and the printer port page.
QStringList BaudRateItems();
QStringList FramingItems();
QStringList FlowControlItems();
