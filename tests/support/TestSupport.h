#ifndef ZELTEST_TESTSUPPORT_H
#define ZELTEST_TESTSUPPORT_H

#include <QString>

#include <functional>

namespace zeltest {

// Points the application data location at a fresh temporary directory for the rest of the
// process, so no test touches the user's real data. Call it in initTestCase, before the
// first database connection object exists. Returns the directory.
QString isolateDataLocation();

// Installs a message handler that fails the running test on Qt's SQL misuse warnings
// (a connection used on a foreign thread, removed while in use, or registered twice).
// Other messages pass on to the previous handler.
void failOnSqlMisuse();

// Replaces the database file at DATABASEPATH with a directory, runs WORK on a fresh thread
// (whose first open meets the broken file: each thread keeps its own connection) and puts
// nothing back, so call it last in a test program. False when the file could not be replaced.
bool runWithUnopenableDatabase(const QString &databasePath, const std::function<void()> &work);

} // namespace zeltest

#endif // ZELTEST_TESTSUPPORT_H
