#include "app/game_app.h"

int main(int argc, char* argv[])
{
    CGameApp app;
    return app.Run(argc, argv);
}
