#ifndef ZELSCAN_HOST_HOSTTABLES_H
#define ZELSCAN_HOST_HOSTTABLES_H

#include <zelscan/zelscan_export.h>

#include <QList>
#include <QString>

namespace zelscan {

/// What this host's kernel already knows of its network, read without sending anything: the
/// default route (the "route" table) and the IPv4 neighbour table ("arp"), in the kernel's text
/// format, from a directory that is normally /proc/net (tests point it at fixture files). A
/// plain value: copies are independent. Any thread may use its own object.
class ZELSCAN_EXPORT HostTables
{
public:
    /// One complete entry of the neighbour table.
    struct Neighbour
    {
        QString ip; ///< Its IPv4 address, dotted.
        QString mac; ///< Its MAC address, upper case with colons.
        QString interfaceName; ///< The interface it was seen on.
    };

    /// Tables to be read from @p procNetDirectory by read().
    explicit HostTables(const QString &procNetDirectory);

    /// Reads both tables again. False, with error() set, when a table cannot be read or there
    /// is no default route through a gateway; the getters then answer what was read.
    bool read();

    /// The default route's gateway address, dotted; empty before a successful read().
    QString gatewayAddress() const { return m_gatewayAddress; }
    /// The interface of the default route; empty before a successful read().
    QString interfaceName() const { return m_interfaceName; }
    /// The complete entries of the neighbour table, on every interface, in the table's order.
    QList<Neighbour> neighbours() const { return m_neighbours; }
    /// The MAC address the neighbour table gives @p ip, or an empty string.
    QString macOf(const QString &ip) const;
    /// Why the last read() failed, naming the table; empty after a successful one.
    QString error() const { return m_error; }

private:
    bool readLines(const QString &table, QStringList &lines);
    bool readDefaultRoute();
    bool readNeighbours();

    QString m_directory;
    QString m_gatewayAddress;
    QString m_interfaceName;
    QList<Neighbour> m_neighbours;
    QString m_error;
};

} // namespace zelscan

#endif // ZELSCAN_HOST_HOSTTABLES_H
