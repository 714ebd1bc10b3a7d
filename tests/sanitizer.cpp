// Leaks inside the toolkit's platform set-up, which it never frees at exit.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libqoffscreen\n"
           "leak:libfontconfig\n"
           "leak:QGuiApplicationPrivate::createPlatformIntegration\n"
           "leak:QScreen::QScreen\n";
}
