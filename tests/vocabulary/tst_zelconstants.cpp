#include <zelmw/vocabulary/ZelConstants.h>

#include <QTest>

// Keys spelt as their own identifier are defined through one macro and cannot drift, and the
// shipped defaults are checked against the seed file by the reader test. What is left are the
// texts that differ from their names: stored in databases and shared with the application, a
// changed byte is a break.
class TestZelConstants : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QString>("constant");
        QTest::addColumn<QString>("expected");
#define ROW(identifier, text)                                                                      \
    QTest::newRow(#identifier) << zelmw::identifier << QStringLiteral(text)
        ROW(LOGGER_NAME, "MIDDLEWARE");
        ROW(BOOL_TRUE_VALUE, "1");
        ROW(BOOL_FALSE_VALUE, "0");
        ROW(DEVICE_TYPE_UNKNOWN, "UNKNOWN");
        ROW(DEVICE_TYPE_NULL, "NULL");
        ROW(DEVICE_TYPE_GATEWAY, "GATEWAY");
        ROW(DEVICE_TYPE_PC, "PC");
        ROW(DEVICE_TYPE_PRINTER, "PRINTER");
        ROW(DEVICE_TYPE_UNKNOWN_DEVICE, "UNKNOWN_DEVICE");
        ROW(CPE_TYPE_AP, "ap");
        ROW(CPE_TYPE_ROUTER, "router");
        // An empty default is a value the seed file writes, unlike a key without any default.
        ROW(WARRANTYREGISTRATION_DONT_REGISTER_DEVICEIDS_DEFAULT, "");
#undef ROW
    }

    void text()
    {
        QFETCH(QString, constant);
        QFETCH(QString, expected);
        QCOMPARE(constant, expected);
        QCOMPARE(constant.isNull(), expected.isNull());
    }
};

QTEST_GUILESS_MAIN(TestZelConstants)
#include "tst_zelconstants.moc"
