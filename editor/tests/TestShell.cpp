#include "TestShell.h"
