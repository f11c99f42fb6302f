#include "app/app_icon.h"

#include "render/resources.h"

QIcon LoadAppIcon()
{
    InitWriggletResources();
    QIcon icon;
    for (int nSize : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icon_%1.png").arg(nSize), QSize(nSize, nSize));
    return icon;
}
