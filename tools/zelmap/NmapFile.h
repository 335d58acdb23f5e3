#ifndef ZELMAP_NMAPFILE_H
#define ZELMAP_NMAPFILE_H

#include "ReplayFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The hosts of a host discovery saved by nmap as XML ("nmap -sn -oX FILE"): each host that is up
// and has an IPv4 and a MAC address, with its first host name. The file is another program's
// output, read as untrusted data: its one document type declaration must be exactly the one nmap
// writes, "<!DOCTYPE nmaprun>", so no entity is ever declared or fetched; the whole file is
// checked before anything is used.
class NmapFile
{
public:
    struct Host
    {
        QString ip;
        QString mac; // upper case, as the library stores it
        QString name;
    };

    // Reads and checks PATH ("-" is standard input). False with error() set when it cannot be
    // read, is not such a file, or holds no usable host.
    bool read(const QString &path);
    // Checks in-memory CONTENT; NAME is used in error messages.
    bool parse(const QString &name, const QByteArray &content);

    // The hosts as discovery records, the host at GATEWAYIP first as the gateway (a router),
    // the others as unknown devices in the file's order; DEVICE_PARAM_NAME where nmap found a
    // host name. False with error() set when GATEWAYIP is not among the hosts or a record is
    // over the pipeline's bounds.
    bool records(const QString &gatewayIp, QList<ReplayFile::Step> &steps);

    QString error() const { return m_error; }
    QList<Host> hosts() const { return m_hosts; }

private:
    bool fail(const QString &reason);

    QString m_name;
    QList<Host> m_hosts;
    QString m_error;
};

#endif // ZELMAP_NMAPFILE_H
