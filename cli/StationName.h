#pragma once

#include <string>

// The name this machine goes by on the network, for the provisioning records.
std::string StationName();
