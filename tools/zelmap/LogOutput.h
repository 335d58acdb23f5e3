#ifndef ZELMAP_LOGOUTPUT_H
#define ZELMAP_LOGOUTPUT_H

// The library's log lines on stderr, each escaped for the terminal (they carry names and
// values from devices) and laid out as Qt lays them out. Warnings and errors always; the
// information and debug lines only when VERBOSE, so a replay's own change lines stand alone.
// QT_LOGGING_RULES still overrides the choice, as in any Qt program.
class LogOutput
{
public:
    static void install(bool verbose);
};

#endif // ZELMAP_LOGOUTPUT_H
