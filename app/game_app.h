#pragma once

// The application: one window, run modally, and nothing after it.
class CGameApp
{
public:
    int Run(int argc, char* argv[]);
};
