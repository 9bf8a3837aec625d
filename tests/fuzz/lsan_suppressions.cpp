// Leaks that are not ours, built into both fuzzers so a crash reproduces with
// the bare binary. Fontconfig (2.14) loses a few bytes of its parsed
// configuration once per process, inside FcInitLoadConfigAndFonts; the frames
// above it are lost because the library keeps no frame pointers, so the rule
// names the library.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
