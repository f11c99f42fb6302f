#pragma once

#include <QIcon>

// The game's icon in all the sizes it is drawn in.
QIcon LoadAppIcon();
