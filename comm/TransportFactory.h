#pragma once

#include <memory>

#include "CTransport.h"
#include "ChannelConfig.h"

// The transport a configuration asks for, not yet opened; the sink hears its input.
std::unique_ptr<CTransport> MakeTransport(IInputSink& sink, const ChannelConfig& config);
