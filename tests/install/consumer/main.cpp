// An application of the installed library: "store" writes through it, "check" (a later
// process) reads back what was stored.
#include <zelmw/zelmw.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <boost/make_shared.hpp>

namespace {

int failures = 0;

void expect(bool condition, const char *what)
{
    if (!condition) {
        QTextStream(stderr) << "consumer: failed: " << what << '\n';
        ++failures;
    }
}

void checkVocabulary()
{
    expect(zelmw::Utility::isValidMacAddress(QStringLiteral("00:1A:2b:3C:4d:5E")), "valid MAC");
    expect(!zelmw::Utility::isValidIpAddress(QStringLiteral("1a2b3c4")), "IP dots are literal");
    expect(zelmw::MacAddressBuilder::buildMacAddress(QStringLiteral("001122AABBCC"))
               == QLatin1String("00:11:22:AA:BB:CC"),
           "MAC builder");
    zelmw::Composite tree;
    tree.addComponent(2, boost::make_shared<zelmw::Leaf>());
    expect(tree.hasComponent(2) && tree.getChildren().size() == 1, "composite tree");
}

void checkDatabase()
{
    zelmw::ZelDbConnection connection;
    expect(connection.open(), "database opens");
    expect(QFileInfo::exists(connection.getDbPath()), "database file exists");
    connection.close();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString phase = app.arguments().value(1);
    if (phase != QLatin1String("store") && phase != QLatin1String("check")) {
        QTextStream(stderr) << "usage: consumer store|check\n";
        return 2;
    }
    checkVocabulary();
    checkDatabase();
    return failures == 0 ? 0 : 1;
}
