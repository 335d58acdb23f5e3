#ifndef ZELTEST_UPNPTESTDATA_H
#define ZELTEST_UPNPTESTDATA_H

#include <QFile>
#include <QMap>

// Test data of the UPnP tests, in UPNP_TEST_DATA (the source tree's upnp/, wherever the build is).
namespace upnptest {

inline QByteArray file(const QByteArray &name)
{
    QFile f(QLatin1String(UPNP_TEST_DATA "/" + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The expected records of a file of "NAME KEY=value" lines, by name.
inline QMap<QString, QMap<QString, QString>> expectedRecords(const QByteArray &name)
{
    QMap<QString, QMap<QString, QString>> records;
    for (const QByteArray &line : file(name).split('\n')) {
        const int space = line.indexOf(' '), equals = line.indexOf('=');
        if (space > 0 && equals > space)
            records[QLatin1String(line.left(space))]
                   [QLatin1String(line.mid(space + 1, equals - space - 1))]
                = QString::fromUtf8(line.mid(equals + 1));
    }
    return records;
}

} // namespace upnptest

#endif // ZELTEST_UPNPTESTDATA_H
