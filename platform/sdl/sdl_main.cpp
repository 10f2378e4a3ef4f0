// sdl_main.cpp: the Linux program's start-up. Hands the framework entry the arguments after the
// program's name one by one, as the system gives them: a word is never joined with the others
// and split again, so quotes, blanks and backslashes inside an argument stay what they are.
#include "framework/qbio.h"

int main(int argc, char** argv) { return RunWithArguments(nullptr, argc - 1, argv + 1); }
