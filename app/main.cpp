#include "app/entry.h"

#ifdef __MINGW32__
// Arguments reach the program as typed: no wildcard expansion by the runtime.
extern "C" {
int _dowildcard = 0;
}
#endif

int main(int argc, char** argv)
{
    return RunTarn(argc, argv);
}
