// fontconfig keeps its configuration for the life of the process; the leak
// checker of sanitised builds is told not to report it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
