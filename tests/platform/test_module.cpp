// A module for the module loader's tests: one exported C function.
extern "C" __attribute__((visibility("default"))) int hv6_test_add(int a, int b) { return a + b; }
