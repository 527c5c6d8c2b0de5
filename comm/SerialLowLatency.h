#pragma once

// Asks the driver to hand over received bytes at once instead of batching them (USB serial
// adapters otherwise add milliseconds to every turn of a conversation). Devices without the
// setting, pseudo-terminals among them, are left as they are.
void RequestLowLatency(int fd);
