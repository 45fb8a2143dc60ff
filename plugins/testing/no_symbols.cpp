// A shared library that is no prop plug-in: it exports none of the interface.
extern "C" __attribute__((visibility("default"))) int tavrel_something_else(void) { return 7; }
