#ifndef ZELTEST_TESTSUPPORT_H
#define ZELTEST_TESTSUPPORT_H

#include <QCoreApplication>
#include <QString>
#include <QTest>

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

// Replaces the database file at DATABASEPATH with a directory and runs WORK on a fresh thread,
// whose first open meets it; then removes the directory, so the next open anywhere creates a
// fresh, empty store. Call it with no connection object open on the calling thread. False
// when the file could not be replaced.
bool runWithUnopenableDatabase(const QString &databasePath, const std::function<void()> &work);

} // namespace zeltest

// The main of a test program that never touches the user's data and fails on SQL misuse.
#define ZEL_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        zeltest::isolateDataLocation();                                                            \
        zeltest::failOnSqlMisuse();                                                                \
        QCoreApplication app(argc, argv);                                                          \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#endif // ZELTEST_TESTSUPPORT_H
