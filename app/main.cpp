#include "app/Application.h"

int main(int argc, char** argv)
{
    return bw::runApplication(argc, argv);
}
