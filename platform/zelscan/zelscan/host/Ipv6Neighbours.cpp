#include <zelscan/host/Ipv6Neighbours_p.h>

#include <QHostAddress>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelscan {

namespace {

const int MAX_NEIGHBOURS = 4096;
const int MAC_BYTES = 6;
const int IPV6_BYTES = 16;
const quint16 BELIEVED_STATES = NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT;

// Closes the netlink socket on every way out.
class Socket
{
public:
    Socket()
        : fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE))
    { }
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    const int fd;
};

QString macText(const unsigned char *bytes)
{
    QStringList groups;
    for (int i = 0; i < MAC_BYTES; ++i)
        groups << QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    return groups.join(QLatin1Char(':'));
}

// One RTM_NEWNEIGH message into NEIGHBOURS, when it is a believed IPv6 entry.
void take(const nlmsghdr *header, QList<HostTables::Neighbour> &neighbours)
{
    if (header->nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg)))
        return;
    const auto *entry = static_cast<const ndmsg *>(NLMSG_DATA(header));
    if (entry->ndm_family != AF_INET6 || !(entry->ndm_state & BELIEVED_STATES))
        return;
    const unsigned char *ip = nullptr;
    const unsigned char *mac = nullptr;
    int length = int(header->nlmsg_len - NLMSG_LENGTH(sizeof(ndmsg)));
    for (auto *attribute = reinterpret_cast<const rtattr *>(reinterpret_cast<const char *>(entry)
                                                            + NLMSG_ALIGN(sizeof(ndmsg)));
         RTA_OK(attribute, length); attribute = RTA_NEXT(attribute, length)) {
        const auto *payload = static_cast<const unsigned char *>(RTA_DATA(attribute));
        if (attribute->rta_type == NDA_DST && RTA_PAYLOAD(attribute) == IPV6_BYTES)
            ip = payload;
        else if (attribute->rta_type == NDA_LLADDR && RTA_PAYLOAD(attribute) == MAC_BYTES)
            mac = payload;
    }
    char name[IF_NAMESIZE] = {};
    if (!ip || !mac || !::if_indextoname(unsigned(entry->ndm_ifindex), name))
        return;
    Q_IPV6ADDR address;
    std::memcpy(address.c, ip, IPV6_BYTES);
    neighbours.append(
        { QHostAddress(address).toString(), macText(mac), QString::fromLocal8Bit(name) });
}

} // namespace

bool readIpv6Neighbours(QList<HostTables::Neighbour> &neighbours, QString &error)
{
    neighbours.clear();
    const Socket netlink;
    struct
    {
        nlmsghdr header;
        ndmsg entry;
    } request = {};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ndmsg));
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.entry.ndm_family = AF_INET6;
    sockaddr_nl kernel = {};
    kernel.nl_family = AF_NETLINK;
    if (netlink.fd < 0
        || ::sendto(netlink.fd, &request, request.header.nlmsg_len, 0,
                    reinterpret_cast<const sockaddr *>(&kernel), sizeof kernel)
            < 0) {
        error = QStringLiteral("cannot ask the kernel for its IPv6 neighbours: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    alignas(nlmsghdr) char buffer[16384];
    for (;;) {
        const ssize_t received = ::recv(netlink.fd, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0) {
            error = QStringLiteral("the kernel's IPv6 neighbour table cannot be read: %1")
                        .arg(received < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                                          : QStringLiteral("no answer"));
            return false;
        }
        // Each message whole inside what was received, or the walk ends.
        const std::size_t size = std::size_t(received);
        for (std::size_t offset = 0; offset + sizeof(nlmsghdr) <= size;) {
            const auto *header = reinterpret_cast<const nlmsghdr *>(buffer + offset);
            if (header->nlmsg_len < sizeof(nlmsghdr) || header->nlmsg_len > size - offset)
                break;
            offset += NLMSG_ALIGN(header->nlmsg_len);
            if (header->nlmsg_type == NLMSG_DONE)
                return true;
            if (header->nlmsg_type == NLMSG_ERROR) {
                error = QStringLiteral("the kernel refused to list its IPv6 neighbours");
                return false;
            }
            if (header->nlmsg_type == RTM_NEWNEIGH && neighbours.size() < MAX_NEIGHBOURS)
                take(header, neighbours);
        }
    }
}

} // namespace zelscan
