#include <zelmw/vocabulary/MacAddressBuilder.h>
#include <zelmw/vocabulary/Utility.h>

#include <QTest>

using zelmw::MacAddressBuilder;
using zelmw::Utility;

namespace {

void validityColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
}

void checkValidity(bool (*isValid)(const QString &))
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValid(text), valid);
}

} // namespace

class TestUtility : public QObject
{
    Q_OBJECT

private slots:
    void isValidMacAddress_data()
    {
        validityColumns();
        QTest::newRow("colons") << "00:1A:2B:3C:4D:5E" << true;
        QTest::newRow("dashes") << "00-1A-2B-3C-4D-5E" << true;
        QTest::newRow("mixed separators") << "00:1A-2B:3C-4D:5E" << true;
        QTest::newRow("lower case") << "aa:bb:cc:dd:ee:ff" << true;
        QTest::newRow("one non-zero digit") << "00:00:00:00:00:01" << true;
        QTest::newRow("zero, colons") << "00:00:00:00:00:00" << false;
        QTest::newRow("zero, mixed") << "00:00:00-00:00:00" << false;
        QTest::newRow("underscores") << "AA_BB_CC_DD_EE_FF" << false;
        QTest::newRow("no separators") << "AABBCCDDEEFF" << false;
        QTest::newRow("leading blank") << " AA:BB:CC:DD:EE:FF" << false;
        QTest::newRow("trailing blank") << "AA:BB:CC:DD:EE:FF " << false;
        QTest::newRow("seventh group") << "AA:BB:CC:DD:EE:FF:00" << false;
        QTest::newRow("single digit group") << "A:BB:CC:DD:EE:FF" << false;
        QTest::newRow("double separator") << "AA::BB:CC:DD:EE:FF" << false;
        QTest::newRow("not hex") << "AA:BB:CC:DD:EE:FG" << false;
        QTest::newRow("empty") << "" << false;
    }
    void isValidMacAddress() { checkValidity(&Utility::isValidMacAddress); }

    void isValidIpAddress_data()
    {
        validityColumns();
        QTest::newRow("private") << "192.168.1.1" << true;
        QTest::newRow("zeros behind first") << "10.0.0.0" << true;
        QTest::newRow("broadcast") << "255.255.255.255" << true;
        QTest::newRow("two hundreds") << "249.250.199.100" << true;
        QTest::newRow("first zero") << "0.1.2.3" << false;
        QTest::newRow("leading zero") << "192.168.001.1" << false;
        QTest::newRow("first above 255") << "256.1.1.1" << false;
        QTest::newRow("last above 255") << "1.1.1.256" << false;
        QTest::newRow("dashes") << "1-2-3-4" << false;
        QTest::newRow("three numbers") << "1.2.3" << false;
        QTest::newRow("five numbers") << "1.2.3.4.5" << false;
        QTest::newRow("blank") << " 1.2.3.4" << false;
        QTest::newRow("empty") << "" << false;
    }
    void isValidIpAddress() { checkValidity(&Utility::isValidIpAddress); }

    void isValidEmailAddress_data()
    {
        validityColumns();
        QTest::newRow("plain") << "user@example.com" << true;
        QTest::newRow("dotted, mixed case") << "First.Last@Mail.Example.ORG" << true;
        QTest::newRow("plus and dash") << "a_b+c-d@my-host.info" << true;
        QTest::newRow("shortest") << "a@b.cd" << true;
        QTest::newRow("domain without dot") << "a@bcdefg" << false;
        QTest::newRow("dot replaced") << "first_last@example-com" << false;
        QTest::newRow("two @") << "a@b@example.com" << false;
        QTest::newRow("tld too long") << "a@example.museum" << false;
        QTest::newRow("tld too short") << "a@example.c" << false;
        QTest::newRow("tld with digit") << "a@example.c0m" << false;
        QTest::newRow("empty name") << "@example.com" << false;
        QTest::newRow("double dot") << "a..b@example.com" << false;
        QTest::newRow("empty") << "" << false;
    }
    void isValidEmailAddress() { checkValidity(&Utility::isValidEmailAddress); }

    void buildMacAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("built");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("bare digits") << "001122AABBCC" << QString("00:11:22:AA:BB:CC");
        QTest::newRow("case kept") << "001a2B3c4D5e" << QString("00:1a:2B:3c:4D:5e");
        QTest::newRow("odd length") << "ABCDE" << QString("AB:CD:E");
        QTest::newRow("dashes kept") << "00-11-22-aa-bb-cc" << QString("00-11-22-aa-bb-cc");
        QTest::newRow("one underscore") << "0011_22AABBCC" << QString("0011_22AABBCC");
        QTest::newRow("one colon") << "0011:22AABBCC" << QString("0011:22AABBCC");
        QTest::newRow("dots are split") << "0011.22AA.BBCC" << QString("00:11:.2:2A:A.:BB:CC");
    }
    void buildMacAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, built);
        QCOMPARE(MacAddressBuilder::buildMacAddress(text), built);
    }
};

QTEST_GUILESS_MAIN(TestUtility)
#include "tst_utility.moc"
