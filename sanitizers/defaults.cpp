// The sanitizer runtimes call these before main to learn their default options.

#define RIPARTINO_SANITIZER_DEFAULTS extern "C" __attribute__((used, visibility("default"))) const char*

// Any report ends the program with a failure; leaks are looked for at exit.
RIPARTINO_SANITIZER_DEFAULTS __asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1:strict_init_order=1";
}

RIPARTINO_SANITIZER_DEFAULTS __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

RIPARTINO_SANITIZER_DEFAULTS __lsan_default_options()
{
    return "suppressions=" RIPARTINO_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
