// Preloaded into the sanitizer build's game: libraries are never unloaded, so that the leak report at exit
// can still name the library (the GL driver's own allocations are suppressed by name).
int dlclose(void *handle) {
    (void)handle;
    return 0;
}
