#include "NmapFile.h"

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QFile>
#include <QHostAddress>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

// A host discovery of a /16 is about 10 MB; anything larger is not such a file.
constexpr qint64 maxFileSize = 64 * 1024 * 1024;

} // namespace

bool NmapFile::read(const QString &path)
{
    const bool fromStdin = path == QLatin1String("-");
    m_name = fromStdin ? QStringLiteral("<stdin>") : path;
    QFile file;
    const bool opened = fromStdin ? file.open(stdin, QIODevice::ReadOnly)
                                  : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(QStringLiteral("cannot read: ") + file.errorString());
    const QByteArray content = file.read(maxFileSize + 1);
    if (content.size() > maxFileSize)
        return fail(QStringLiteral("larger than %1 bytes").arg(maxFileSize));
    return parse(m_name, content);
}

bool NmapFile::fail(const QString &reason)
{
    m_hosts.clear();
    m_error = m_name + QStringLiteral(": ") + reason;
    return false;
}

bool NmapFile::parse(const QString &name, const QByteArray &content)
{
    m_name = name;
    m_hosts.clear();
    m_error.clear();
    QXmlStreamReader xml(content);
    bool sawRoot = false;
    Host host;
    bool hostUp = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // Anything more than nmap's bare declaration could declare entities.
            if (xml.text().trimmed() != QLatin1String("<!DOCTYPE nmaprun>"))
                return fail(QStringLiteral("line %1: refused a document type declaration other "
                                           "than <!DOCTYPE nmaprun>")
                                .arg(xml.lineNumber()));
            break;
        case QXmlStreamReader::StartElement: {
            const auto element = xml.name();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (!sawRoot) {
                if (element != QLatin1String("nmaprun"))
                    return fail(QStringLiteral("not an nmap XML file: its root is <%1>")
                                    .arg(element.toString().left(64)));
                sawRoot = true;
            } else if (element == QLatin1String("host")) {
                host = Host();
                hostUp = false;
            } else if (element == QLatin1String("status")) {
                hostUp = attributes.value(QLatin1String("state")) == QLatin1String("up");
            } else if (element == QLatin1String("address")) {
                const auto type = attributes.value(QLatin1String("addrtype"));
                const QString address = attributes.value(QLatin1String("addr")).toString();
                if (type == QLatin1String("ipv4") && host.ip.isEmpty())
                    host.ip = address;
                else if (type == QLatin1String("mac") && host.mac.isEmpty())
                    host.mac = address.toUpper();
            } else if (element == QLatin1String("hostname") && host.name.isEmpty()) {
                host.name = attributes.value(QLatin1String("name")).toString();
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            // nmap gives this host no MAC (it does not ask itself), nor hosts beyond a router.
            if (xml.name() == QLatin1String("host") && hostUp && !host.mac.isEmpty()
                && QHostAddress(host.ip).protocol() == QAbstractSocket::IPv4Protocol)
                m_hosts.append(host);
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("line %1: not well-formed XML: %2")
                        .arg(xml.lineNumber())
                        .arg(xml.errorString()));
    if (m_hosts.isEmpty())
        return fail(QStringLiteral("no host that is up with an IPv4 and a MAC address"));
    return true;
}

bool NmapFile::records(const QString &gatewayIp, QList<ReplayFile::Step> &steps)
{
    const auto gateway = std::find_if(m_hosts.cbegin(), m_hosts.cend(),
                                      [&](const Host &host) { return host.ip == gatewayIp; });
    if (gateway == m_hosts.cend())
        return fail(QStringLiteral("the gateway %1 is not among its hosts").arg(gatewayIp));
    QList<ReplayFile::Step> found;
    const auto add = [&](const Host &host, bool isGateway) {
        ReplayFile::Step step;
        step.record.insert(zelmw::NS_DEVICE_TYPE,
                           isGateway ? zelmw::DEVICE_TYPE_GATEWAY
                                     : zelmw::DEVICE_TYPE_UNKNOWN_DEVICE);
        step.record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, host.ip);
        step.record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, host.mac);
        if (!host.name.isEmpty())
            step.record.insert(zelmw::DEVICE_PARAM_NAME, host.name);
        if (isGateway)
            step.record.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);
        // Refused by the pipeline, it would leave the import half applied.
        const QString refusal = zelmw::DiscoveryHandler::refusalReason(step.record);
        if (!refusal.isEmpty())
            return fail(QStringLiteral("host %1 refused: %2").arg(host.ip, refusal));
        found.append(step);
        return true;
    };
    // The gateway first: records before a gateway's have no map to go to.
    if (!add(*gateway, true))
        return false;
    for (auto host = m_hosts.cbegin(); host != m_hosts.cend(); ++host)
        if (host != gateway && !add(*host, false))
            return false;
    steps = found;
    return true;
}
