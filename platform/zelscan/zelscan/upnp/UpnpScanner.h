#ifndef ZELSCAN_UPNP_UPNPSCANNER_H
#define ZELSCAN_UPNP_UPNPSCANNER_H

#include <zelscan/Scanner.h>

#include <QHostAddress>
#include <QNetworkInterface>

#include <memory>

namespace zelscan {

/// Finds the UPnP devices of one network: it sends two SSDP searches (every device, and
/// Internet gateways) on one interface, listens for the answers during a window, fetches each
/// device description an answer points to, and reports one record per answering address.
///
/// A record holds the root device's description (UPNP_PARAM_FRIENDLYNAME, _MANUFACTURER,
/// _MANUFACTURERURL, _MODELDESCRIPTION, _MODELNAME, _MODELNUMBER, _MODELURL, _SERIALNUMBER,
/// UPNP_PARAM_DEVICETYPE and UPNP_PARAM_PRESENTATIONURL, made absolute), the answering address
/// in UPNP_PARAM_DEVICE_IPADDRESS and DEVICE_PARAM_LAN_IPADDRESS, and the description's port
/// and path in UPNP_PARAM_DEVICE_UPNPPORT and UPNP_PARAM_DEVICE_UPNPPATH; empty fields are left
/// out. An Internet gateway device that answers from the gateway address is an NS_DEVICE_TYPE
/// of DEVICE_TYPE_GATEWAY with GATEWAY_PARAM_ISROUTER set; any other device is a
/// DEVICE_TYPE_UNKNOWN_DEVICE. The scanner knows no MAC addresses: records carry the IPv4
/// address only, and the application merges them with the neighbour table's records by
/// address.
///
/// The searches are sent twice, at the start and at a third of the window, as UDP may lose
/// them or their answers. Everything from the network is treated as hostile. An answer is read
/// only within bounds (datagram size, header lines, valid UTF-8). The bounds hold per
/// responding address, so that one device's flood cannot crowd out the others: at most 64
/// responders, 200 answers and 16 distinct descriptions each. A description is fetched once,
/// over plain HTTP and only from the address that answered; a fetch is refused when it is
/// larger than 64 KiB, takes more than 2 s, redirects, or holds a document type declaration,
/// invalid XML or UTF-8, or a text over 1,024 characters. Each refusal logs one warning on the
/// "ZELSCAN" logging category naming the answering address and the reason, and yields no record.
///
/// A look ends (finished()) once the listening window is over and every fetch has ended, so
/// by the window plus 2 s at the latest. Lives on one thread: every member is called on the
/// thread that owns it. Not copyable.
class ZELSCAN_EXPORT UpnpScanner : public Scanner
{
    Q_OBJECT

public:
    /// A scanner that sends and listens on @p interface only, from its first IPv4 address. An
    /// interface that is down, cannot multicast or has no IPv4 address makes start() log a
    /// warning and finish with nothing found.
    explicit UpnpScanner(const QNetworkInterface &interface, QObject *parent = nullptr);
    /// Stops a running look at once, without finished().
    ~UpnpScanner() override;

    /// How long a look listens for answers, 2,000 ms by default; a negative value counts as 0.
    /// Applies from the next start().
    void setListenWindow(int milliseconds);
    /// This host's default gateway: the only address whose Internet gateway device is reported
    /// as the gateway. Unset (the default), every device is reported as an unknown device.
    /// Applies from the next start().
    void setGatewayAddress(const QHostAddress &address);

    /// Sends the searches and starts listening; see Scanner::start(). Sockets that cannot be
    /// opened or bound make it log one warning and finish with nothing found.
    void start() override;

private:
    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelscan

#endif // ZELSCAN_UPNP_UPNPSCANNER_H
