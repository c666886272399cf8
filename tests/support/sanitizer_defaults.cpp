// Built into every test program: leaks that live inside system libraries
// (font configuration caches, Qt's and D-Bus's process-wide state) are not the
// project's to free, so LeakSanitizer is told to ignore them wherever the
// tests run from.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libfreetype\n"
           "leak:libdbus\n"
           "leak:libQt6\n";
}
