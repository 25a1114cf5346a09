// Placeholder composition root until the tray application is built.
#include "app/Controllers.h"
#include "platform/Platform.h"

int main()
{
    return 0;
}
