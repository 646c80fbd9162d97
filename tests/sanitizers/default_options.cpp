// Linked into every test of the sanitizers' build. fontconfig keeps its
// configuration and caches for the process's life (Qt never tears it down):
// those blocks are not ours to free, and nothing else may leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
