// What a finger or WHOIS peer sends, split into lines in pieces of every size, and what an FTP server's
// protocol trail holds. The first byte chooses the delimiter and the size of the pieces.
#include "fuzzsupport.h"
#include "net/ftpclient.h"
#include "net/linesplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input = fuzzInput(data + 1, size - 1);
    const QByteArray delimiters[] = {"\r\n", "\n", "\r\n\r\n"};
    LineSplitter splitter(delimiters[data[0] % 3]);
    const qsizetype piece = 1 + data[0] / 3;
    for (qsizetype at = 0; at < input.size(); at += piece)
        splitter.feed(input.mid(at, piece));
    splitter.takeRest();
    FtpClient::trailLines(input);
    return 0;
}
