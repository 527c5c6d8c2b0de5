#pragma once

#include <chrono>

// The pauses the printer needs between the steps of the settings conversations, the same for
// the window and tq20.
// After a connect (or a reconnect), before the first request.
inline constexpr std::chrono::milliseconds kFirstReadDelay{100};
// A port change: after the port command before closing, and after closing before reopening.
inline constexpr std::chrono::milliseconds kPortSettleDelay{300};
// A port change: after reopening at the new line, before the store command.
inline constexpr std::chrono::milliseconds kStoreAfterReconnectDelay{100};
// A factory restore: after the command before closing, and after closing before reopening.
inline constexpr std::chrono::milliseconds kFactoryResetDelay{400};
// A restore of the saved settings: after the command, before reading them back.
inline constexpr std::chrono::milliseconds kSavedRestoreDelay{500};
