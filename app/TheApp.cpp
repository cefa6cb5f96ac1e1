#include "app/ConsoleApp.h"

// The one application object of the program.
CConsoleApp theApp;
