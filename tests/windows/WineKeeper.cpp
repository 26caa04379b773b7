// Runs until its Wine prefix is stopped. Wine starts its system programs (services, device
// manager) with the first program of a prefix and ends them after the last one; their standard
// streams are those of that first program. Started first with no streams of its own, this
// program keeps them up for the whole test run, so that no test's output pipe stays open
// after the test and the device manager starts only once.

#include <windows.h>

int main() {
    Sleep(INFINITE);
    return 0;
}
