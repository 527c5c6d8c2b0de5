// Velkor: the TQ-20 printer configurator.
#include "CConfigApp.h"

int main(int argc, char** argv) {
    CConfigApp app(argc, argv);
    return app.Run();
}
