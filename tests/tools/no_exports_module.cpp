// A loadable module without any of the tools' exports.
extern "C" __attribute__((visibility("default"))) int hv6_no_tool_here() { return 0; }
