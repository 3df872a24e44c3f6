// A dial library that lacks most of its functions: only the entry list.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::uint32_t EnumEntries(
    const char*, const char*, void*, std::uint32_t*, std::uint32_t*) asm("_RasEnumEntries");

extern "C" std::uint32_t EnumEntries(const char*, const char*, void*, std::uint32_t* byteSize,
                                     std::uint32_t* count) {
  *byteSize = 0;
  *count = 0;
  return 0;
}
