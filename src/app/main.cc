// Program entry: picks the host platform and the Qt skin, or runs a verb.
#include "app/cli.h"

int main(int argc, char** argv) { return pellmar::RunPellmar(argc, argv); }
