#include "LineLists.h"

QStringList BaudRateItems() {
    return {"115200", "57600", "38400", "28800", "19200", "14400", "9600", "4800", "2400", "1200"};
}

QStringList FramingItems() {
    return {"1,  None", "2,  None", "1,  Odd", "2,  Odd", "1,  Even", "2,  Even"};
}

QStringList FlowControlItems() {
    return {"None", "RTS/CTS", "Xon/Xoff", "RTS/CTS+Xon/Xoff"};
}
