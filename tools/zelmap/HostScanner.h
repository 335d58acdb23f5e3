#ifndef ZELMAP_HOSTSCANNER_H
#define ZELMAP_HOSTSCANNER_H

#include <QList>
#include <QMap>
#include <QString>

// Builds discovery records from what this host already knows, without sending anything: the
// default route (route table), the neighbour table, this host's interfaces and name. The two
// tables are read from PROC_NET_DIR ("route" and "arp" in the kernel's text format), normally
// /proc/net; tests point it at fixture files.
class HostScanner
{
public:
    explicit HostScanner(const QString &procNetDir);

    // False with error() set when the tables cannot be read or there is no usable gateway.
    bool scan();

    QList<QMap<QString, QString>> records() const { return m_records; }
    QString error() const { return m_error; }

private:
    struct Neighbour
    {
        QString ip;
        QString mac;
        QString interfaceName;
    };

    bool readDefaultRoute(QString &gatewayIp, QString &interfaceName);
    bool readNeighbours(QList<Neighbour> &neighbours);
    void addLocalPc(const QString &interfaceName);

    QString m_procNetDir;
    QList<QMap<QString, QString>> m_records;
    QString m_error;
};

#endif // ZELMAP_HOSTSCANNER_H
