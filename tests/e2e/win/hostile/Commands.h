#pragma once

#include "../CommandLine.h"

int sendCreation(Args args);
int setWindowData(Args args);
int postStorm(Args args);
int countGdiObjects(Args args);
int rebindSlots(Args args);
