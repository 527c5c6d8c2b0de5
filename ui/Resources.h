#pragma once

// Registers the icons (and other embedded files) of the windows. The resource data lives in a
// static library, whose self-registration the linker drops unless something calls for it.
void LoadResources();
