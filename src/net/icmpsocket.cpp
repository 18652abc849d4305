#include "net/icmpsocket.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kIcmpHeader = 8;
constexpr int kEchoRequest = 8;

quint16 checksum(const unsigned char* data, int size)
{
    quint32 sum = 0;
    for (int i = 0; i + 1 < size; i += 2)
        sum += quint32(data[i]) << 8 | data[i + 1];
    if (size % 2)
        sum += quint32(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}

quint16 readWord(const unsigned char* data)
{
    return quint16(data[0] << 8 | data[1]);
}

QString systemError(const QString& what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

IcmpSocket::IcmpSocket(QObject* parent) : QObject(parent)
{
    m_identifier = quint16(QRandomGenerator::global()->bounded(1, 0x10000));
}

IcmpSocket::~IcmpSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<QString> IcmpSocket::open()
{
    if (m_fd >= 0)
        return std::nullopt;
    m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (m_fd >= 0) {
        m_kind = Kind::Raw;
    } else {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (m_fd < 0)
            return systemError(QStringLiteral("ICMP echo is not available"));
        m_kind = Kind::Datagram;
        const int on = 1;
        ::setsockopt(m_fd, SOL_IP, IP_RECVERR, &on, sizeof on);
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &IcmpSocket::readPending);
    return std::nullopt;
}

std::optional<QString> IcmpSocket::sendEcho(quint32 address, quint16 sequence, int ttl)
{
    if (auto error = open())
        return error;
    if (::setsockopt(m_fd, SOL_IP, IP_TTL, &ttl, sizeof ttl) != 0)
        return systemError(QStringLiteral("Cannot set the hop limit"));

    unsigned char packet[kIcmpHeader + payloadSize] = {};
    packet[0] = kEchoRequest;
    packet[4] = quint8(m_identifier >> 8);
    packet[5] = quint8(m_identifier);
    packet[6] = quint8(sequence >> 8);
    packet[7] = quint8(sequence);
    for (int i = 0; i < payloadSize; ++i)
        packet[kIcmpHeader + i] = quint8('a' + i % 23);
    const quint16 sum = checksum(packet, sizeof packet);
    packet[2] = quint8(sum >> 8);
    packet[3] = quint8(sum);

    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address);
    if (::sendto(m_fd, packet, sizeof packet, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0)
        return systemError(QStringLiteral("Cannot send the echo request"));
    return std::nullopt;
}

void IcmpSocket::readPending()
{
    if (m_kind == Kind::Datagram)
        readErrorQueue();
    unsigned char buffer[4096];
    for (;;) {
        sockaddr_in from = {};
        socklen_t fromSize = sizeof from;
        const ssize_t size =
            ::recvfrom(m_fd, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (m_kind == Kind::Raw) {
            if (const auto reply = parseRaw(buffer, size))
                Q_EMIT replied(*reply);
            continue;
        }
        // A datagram socket hands over the ICMP message alone, and only the replies to its own requests.
        if (size < kIcmpHeader || buffer[0] != IcmpReply::EchoReply)
            continue;
        IcmpReply reply;
        reply.sequence = readWord(buffer + 6);
        reply.from = ntohl(from.sin_addr.s_addr);
        Q_EMIT replied(reply);
    }
    if (m_kind == Kind::Datagram)
        readErrorQueue();
}

void IcmpSocket::readErrorQueue()
{
    for (;;) {
        unsigned char data[512];
        char control[512];
        sockaddr_in target = {};
        iovec io = {data, sizeof data};
        msghdr message = {};
        message.msg_name = &target;
        message.msg_namelen = sizeof target;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(m_fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (cmsghdr* cmsg = CMSG_FIRSTHDR(&message); cmsg; cmsg = CMSG_NXTHDR(&message, cmsg)) {
            if (cmsg->cmsg_level != SOL_IP || cmsg->cmsg_type != IP_RECVERR)
                continue;
            const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(cmsg));
            if (error->ee_origin != SO_EE_ORIGIN_ICMP || size < kIcmpHeader)
                continue;
            // The queued data is the request the error message quotes.
            const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
            IcmpReply reply;
            reply.type = error->ee_type;
            reply.code = error->ee_code;
            reply.sequence = readWord(data + 6);
            reply.from = ntohl(offender->sin_addr.s_addr);
            Q_EMIT replied(reply);
        }
    }
}

std::optional<IcmpReply> IcmpSocket::parseRaw(const unsigned char* data, qsizetype size) const
{
    if (size < 20)
        return std::nullopt;
    const int headerSize = (data[0] & 0x0f) * 4;
    if (size < headerSize + kIcmpHeader)
        return std::nullopt;
    IcmpReply reply;
    reply.from = quint32(data[12]) << 24 | quint32(data[13]) << 16 | quint32(data[14]) << 8 | data[15];
    const unsigned char* icmp = data + headerSize;
    reply.type = icmp[0];
    reply.code = icmp[1];
    if (reply.type == IcmpReply::EchoReply) {
        if (readWord(icmp + 4) != m_identifier)
            return std::nullopt;
        reply.sequence = readWord(icmp + 6);
        return reply;
    }
    if (reply.type != IcmpReply::TimeExceeded && reply.type != IcmpReply::DestinationUnreachable)
        return std::nullopt;
    // The error message quotes our request's IP header and the first eight bytes of its ICMP header.
    const unsigned char* quoted = icmp + kIcmpHeader;
    const qsizetype quotedSize = size - headerSize - kIcmpHeader;
    if (quotedSize < 20)
        return std::nullopt;
    const int quotedHeader = (quoted[0] & 0x0f) * 4;
    if (quotedSize < quotedHeader + kIcmpHeader)
        return std::nullopt;
    const unsigned char* request = quoted + quotedHeader;
    if (quoted[9] != IPPROTO_ICMP || request[0] != kEchoRequest || readWord(request + 4) != m_identifier)
        return std::nullopt;
    reply.sequence = readWord(request + 6);
    return reply;
}
