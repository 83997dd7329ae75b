// Runs the first-start language rules in a process of its own (the UI
// language comes from the process's locale) and prints the language chosen
// for this run.
#include <cstdio>

#include "Startup.h"

int main() {
    std::printf("%d\n", startup::ChooseCurrentLanguage());
    return 0;
}
