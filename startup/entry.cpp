// The executable's entry: hands the start-up procedure to the runtime.
#include "runtime/forms/program.h"
#include "startup/module1.h"

int main(int argc, char** argv) { return rt::ThunRTMain(argc, argv, &Main); }
