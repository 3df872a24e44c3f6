// hv6: the calendar program. The main window arrives with the start-up
// work; until then the program says so and ends.
#include <cstdio>

int main() {
  std::puts("hv6: 本体カレンダの画面はまだ組み込まれていません。(the main window is not built yet)");
  return 0;
}
