#pragma once

#include "../CommandLine.h"

#include <string>

std::string hex(std::uint64_t value);

int findWindows(Args args);
int windowInfo(Args args);
int editText(Args args);
int foreground(Args args);
int postMessage(Args args);
int sendMessage(Args args);
int tryHotkeys(Args args);
int findAtoms(Args args);
int sendKeys(Args args);
int startProcess(Args args);
int killProcess(Args args);
int systemMenu(Args args);
int systemFacts(Args args);
