#pragma once

// Registers the compiled-in pictures (the ball, its mask, the icons) so that
// ":/..." paths find them. A static library's resources need this call;
// calling it more than once is harmless.
void InitWriggletResources();
