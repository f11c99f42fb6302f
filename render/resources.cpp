#include "render/resources.h"

#include <QtGlobal>

void InitWriggletResources()
{
    static const bool bDone = [] {
        Q_INIT_RESOURCE(wrigglet);
        return true;
    }();
    (void)bDone;
}
