#pragma once

// The windows' layouts are measured for an 8-point dialog font; this makes it the application's.
void UseDialogFont();
