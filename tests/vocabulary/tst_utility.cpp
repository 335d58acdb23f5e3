#include <zelmw/vocabulary/MacAddressBuilder.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>
#include <zelmw/vocabulary/Utility.h>

#include <QTest>
#include <boost/make_shared.hpp>

using zelmw::MacAddressBuilder;
using zelmw::Utility;
using Validator = bool (*)(const QString &);

Q_DECLARE_METATYPE(Validator)

class TestUtility : public QObject
{
    Q_OBJECT

private slots:
    // The address validators in one table: a text and whether it is valid.
    void validity_data()
    {
        QTest::addColumn<Validator>("isValid");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const Validator mac = &Utility::isValidMacAddress;
        const Validator ip = &Utility::isValidIpAddress;
        const Validator email = &Utility::isValidEmailAddress;
        QTest::newRow("MAC, colons") << mac << "00:1A:2B:3C:4D:5E" << true;
        QTest::newRow("MAC, dashes") << mac << "00-1A-2B-3C-4D-5E" << true;
        QTest::newRow("MAC, mixed separators") << mac << "00:1A-2B:3C-4D:5E" << true;
        QTest::newRow("MAC, lower case") << mac << "aa:bb:cc:dd:ee:ff" << true;
        QTest::newRow("MAC, one non-zero digit") << mac << "00:00:00:00:00:01" << true;
        QTest::newRow("MAC, zero, colons") << mac << "00:00:00:00:00:00" << false;
        QTest::newRow("MAC, zero, mixed") << mac << "00:00:00-00:00:00" << false;
        QTest::newRow("MAC, underscores") << mac << "AA_BB_CC_DD_EE_FF" << false;
        QTest::newRow("MAC, no separators") << mac << "AABBCCDDEEFF" << false;
        QTest::newRow("MAC, leading blank") << mac << " AA:BB:CC:DD:EE:FF" << false;
        QTest::newRow("MAC, trailing blank") << mac << "AA:BB:CC:DD:EE:FF " << false;
        QTest::newRow("MAC, trailing newline") << mac << "AA:BB:CC:DD:EE:FF\n" << false;
        QTest::newRow("MAC, seventh group") << mac << "AA:BB:CC:DD:EE:FF:00" << false;
        QTest::newRow("MAC, single digit group") << mac << "A:BB:CC:DD:EE:FF" << false;
        QTest::newRow("MAC, double separator") << mac << "AA::BB:CC:DD:EE:FF" << false;
        QTest::newRow("MAC, not hex") << mac << "AA:BB:CC:DD:EE:FG" << false;
        QTest::newRow("MAC, empty") << mac << "" << false;
        QTest::newRow("IP, private") << ip << "192.168.1.1" << true;
        QTest::newRow("IP, zeros behind first") << ip << "10.0.0.0" << true;
        QTest::newRow("IP, broadcast") << ip << "255.255.255.255" << true;
        QTest::newRow("IP, two hundreds") << ip << "249.250.199.100" << true;
        QTest::newRow("IP, first zero") << ip << "0.1.2.3" << false;
        QTest::newRow("IP, leading zero") << ip << "192.168.001.1" << false;
        QTest::newRow("IP, first above 255") << ip << "256.1.1.1" << false;
        QTest::newRow("IP, last above 255") << ip << "1.1.1.256" << false;
        QTest::newRow("IP, dashes") << ip << "1-2-3-4" << false;
        QTest::newRow("IP, three numbers") << ip << "1.2.3" << false;
        QTest::newRow("IP, five numbers") << ip << "1.2.3.4.5" << false;
        QTest::newRow("IP, blank") << ip << " 1.2.3.4" << false;
        QTest::newRow("IP, empty") << ip << "" << false;
        QTest::newRow("email, plain") << email << "user@example.com" << true;
        QTest::newRow("email, dotted, mixed case")
            << email << "First.Last@Mail.Example.ORG" << true;
        QTest::newRow("email, plus and dash") << email << "a_b+c-d@my-host.info" << true;
        QTest::newRow("email, shortest") << email << "a@b.cd" << true;
        QTest::newRow("email, domain without dot") << email << "a@bcdefg" << false;
        QTest::newRow("email, dot replaced") << email << "first_last@example-com" << false;
        QTest::newRow("email, two @") << email << "a@b@example.com" << false;
        QTest::newRow("email, tld too long") << email << "a@example.museum" << false;
        QTest::newRow("email, tld too short") << email << "a@example.c" << false;
        QTest::newRow("email, tld with digit") << email << "a@example.c0m" << false;
        QTest::newRow("email, empty name") << email << "@example.com" << false;
        QTest::newRow("email, double dot") << email << "a..b@example.com" << false;
        QTest::newRow("email, empty") << email << "" << false;
    }
    void validity()
    {
        QFETCH(Validator, isValid);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(isValid(text), valid);
    }

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

    // A registry finds a key the same way small (by walking) and large (by its hash), whether
    // it keeps its keys or reads them from its entities: the entry added last under it, and
    // nothing once that one is removed.
    void registryKeys_data()
    {
        QTest::addColumn<int>("others");
        QTest::addColumn<bool>("keepsKeys");
        QTest::newRow("small") << 2 << true;
        QTest::newRow("large") << 100 << true;
        QTest::newRow("small, keys read") << 2 << false;
        QTest::newRow("large, keys read") << 100 << false;
    }
    void registryKeys()
    {
        QFETCH(int, others);
        QFETCH(bool, keepsKeys);
        if (keepsKeys)
            checkRegistryKeys(zelmw::TwoKeyRegistry<QString, Named>(), others);
        else
            checkRegistryKeys(zelmw::TwoKeyRegistry<QString, Named, Named::KeyOf>(), others);
    }

private:
    struct Named
    {
        struct KeyOf
        {
            const QString &operator()(const Named &named) const { return named.name; }
        };
        int id;
        QString name;
    };

    template<typename Registry> static void checkRegistryKeys(Registry registry, int others)
    {
        const auto add = [&](int id, const QString &name) {
            registry.add(id, name, boost::make_shared<Named>(Named { id, name }));
        };
        const auto idOf = [&](const QString &key) {
            const auto entity = registry.find(key);
            return entity ? entity->id : 0;
        };
        for (int id = 10; id < 10 + others; ++id)
            add(id, QString::number(id));
        add(1, "shared");
        add(2, "shared");
        QCOMPARE(idOf("shared"), 2);
        registry.removeId(1);
        QCOMPARE(idOf("shared"), 2);
        add(3, "shared");
        registry.removeId(3);
        QVERIFY(!registry.containsKey("shared") && registry.containsId(2));
        add(2, "renamed");
        QCOMPARE(idOf("renamed"), 2);
        QCOMPARE(registry.keyOf(2), QString("renamed"));
        QCOMPARE(registry.removeKey("11")->id, 11);
        int keys = 0;
        registry.forEachKey([&](const QString &key, const boost::shared_ptr<Named> &entity) {
            QCOMPARE(key, entity->name);
            QCOMPARE(idOf(key), entity->id);
            ++keys;
        });
        QCOMPARE(keys, others);
        QCOMPARE(registry.size(), others);
    }
};

QTEST_GUILESS_MAIN(TestUtility)
#include "tst_utility.moc"
