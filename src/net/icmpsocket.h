#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QSocketNotifier;

// What came back for one of our echo requests: the echo reply itself, or an error message (time exceeded,
// destination unreachable) that quotes it.
struct IcmpReply
{
    enum Type
    {
        EchoReply = 0,
        DestinationUnreachable = 3,
        TimeExceeded = 11
    };
    int type = EchoReply;
    int code = 0;
    quint16 sequence = 0;
    quint32 from = 0; // IPv4, host byte order
};

// An ICMP echo socket. A raw socket where the process may open one (it sees every ICMP message, so replies are
// matched on our identifier); otherwise an ICMP datagram socket, which the kernel ties to us and which reports
// the routers' error messages through its error queue.
class IcmpSocket : public QObject
{
    Q_OBJECT
public:
    enum class Kind
    {
        Closed,
        Raw,
        Datagram
    };
    static constexpr int payloadSize = 64;

    explicit IcmpSocket(QObject* parent = nullptr);
    ~IcmpSocket() override;

    std::optional<QString> open();
    Kind kind() const { return m_kind; }

    // One echo request to the address (host byte order) with the hop limit given.
    std::optional<QString> sendEcho(quint32 address, quint16 sequence, int ttl);

Q_SIGNALS:
    void replied(const IcmpReply& reply);

private:
    void readPending();
    void readErrorQueue();
    std::optional<IcmpReply> parseRaw(const unsigned char* data, qsizetype size) const;

    int m_fd = -1;
    Kind m_kind = Kind::Closed;
    quint16 m_identifier = 0;
    QSocketNotifier* m_notifier = nullptr;
};
