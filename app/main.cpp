// Lumisk: desktop companion for handheld optical power meters.

#include "app/application.h"

int main(int argc, char *argv[])
{
    return runApplication(argc, argv);
}
