// The server program: no arguments; everything it needs is in its working directory.
#include "core/server.h"

int main() { run_server(); }
