#ifndef ZELTEST_TESTSUPPORT_H
#define ZELTEST_TESTSUPPORT_H

#include <QString>

namespace zeltest {

// Points the application data location at a fresh temporary directory for the rest of the
// process, so no test touches the user's real data. Call it in initTestCase, before the
// first database connection object exists. Returns the directory.
QString isolateDataLocation();

// Installs a message handler that fails the running test on Qt's SQL misuse warnings
// (a connection used on a foreign thread, removed while in use, or registered twice).
// Other messages pass on to the previous handler.
void failOnSqlMisuse();

} // namespace zeltest

#endif // ZELTEST_TESTSUPPORT_H
