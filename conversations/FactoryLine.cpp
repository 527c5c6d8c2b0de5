#include "FactoryLine.h"

ChannelConfig FactoryLine(ChannelConfig line) {
    return LineAt(std::move(line), kFactoryLine);
}
