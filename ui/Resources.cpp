#include "Resources.h"

#include <QtGlobal>

// Outside any namespace: the macro declares the resource's registration function.
static void RegisterResources() {
    Q_INIT_RESOURCE(resources);
}

void LoadResources() {
    static const bool registered = (RegisterResources(), true);
    (void)registered;
}
