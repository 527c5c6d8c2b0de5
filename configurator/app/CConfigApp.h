#pragma once

#include <string>
#include <vector>

// The configurator program: its settings location, then the main window, modally.
class CConfigApp {
public:
    CConfigApp(int& argc, char** argv);
    int Run();

private:
    int& m_argc;
    char** m_argv;
};
