#include "LineLists.h"

#include "LineItems.h"

namespace {

template <std::size_t N>
QStringList Items(const std::array<const char*, N>& texts) {
    QStringList items;
    for (const char* text : texts) {
        items << QString::fromUtf8(text);
    }
    return items;
}

}  // namespace

QStringList BaudRateItems() {
    return Items(kBaudRateItems);
}

QStringList FramingItems() {
    return Items(kFramingItems);
}

QStringList FlowControlItems() {
    return Items(kFlowControlItems);
}
