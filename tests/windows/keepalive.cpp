// Keeps Wine's services alive for the length of a test run; the test script ends it.
#include <windows.h>

int main() {
  for (;;) Sleep(60000);
}
