// The leak checker's suppressions for the wizard tests: allocations that the system's font
// library keeps for the life of the process.

extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libfreetype\n";
}
