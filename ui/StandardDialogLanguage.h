#pragma once

// Puts Qt's own texts (the file dialog, message box buttons, context menus of text fields) into
// Russian, the language of the windows, from Qt's translations as the system installs them.
// Without them installed the standard texts stay in English.
void UseRussianStandardDialogs();
