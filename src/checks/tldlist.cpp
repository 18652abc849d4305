#include "checks/tldlist.h"

#include <algorithm>

namespace {

const char* const kBuiltIn[] = {
    "ad", "ae", "af", "ag", "ai", "al", "am", "an", "ao", "aq", "ar", "as", "at", "au", "aw", "az", "ba", "bb",
    "bd", "be", "bf", "bg", "bh", "bi", "bj", "bm", "bn", "bo", "br", "bs", "bt", "bv", "bw", "by", "bz", "ca",
    "cc", "cf", "cg", "ch", "ci", "ck", "cl", "cm", "cn", "co", "com", "cr", "cu", "cv", "cx", "cy", "cz", "de",
    "dj", "dk", "dm", "do", "dz", "ec", "edu", "ee", "eg", "eh", "er", "es", "et", "fi", "fj", "fk", "fm", "fo",
    "fr", "fx", "ga", "gb", "gd", "ge", "gf", "gh", "gi", "gl", "gm", "gn", "gov", "gp", "gq", "gr", "gs", "gt",
    "gu", "gw", "gy", "hk", "hm", "hn", "hr", "ht", "hu", "id", "ie", "il", "in", "int", "io", "iq", "ir", "is",
    "it", "jm", "jo", "jp", "ke", "kg", "kh", "ki", "km", "kn", "kp", "kr", "kw", "ky", "kz", "la", "lb", "lc",
    "li", "lk", "lr", "ls", "lt", "lu", "lv", "ly", "ma", "mc", "md", "mg", "mh", "mil", "mk", "ml", "mm", "mn",
    "mo", "mp", "mq", "mr", "ms", "mt", "mu", "mv", "mw", "mx", "my", "mz", "na", "nc", "ne", "net", "nf", "ng",
    "ni", "nl", "no", "np", "nr", "nu", "nz", "om", "org", "pa", "pe", "pf", "pg", "ph", "pk", "pl", "pm", "pn",
    "pr", "pt", "pw", "py", "qa", "re", "ro", "ru", "rw", "sa", "sb", "sc", "sd", "se", "sg", "sh", "si", "sj",
    "sk", "sl", "sm", "sn", "so", "sr", "st", "sv", "sy", "sz", "tc", "td", "tf", "tg", "th", "tj", "tk", "tm",
    "tn", "to", "tp", "tr", "tt", "tv", "tw", "tz", "ua", "ug", "uk", "um", "us", "uy", "uz", "va", "vc", "ve",
    "vg", "vi", "vn", "vu", "wf", "ws", "ye", "yt", "yu", "za", "zm", "zr", "zw",
};

} // namespace

TldList::TldList()
{
    rebuild();
}

const QStringList& TldList::builtIn()
{
    static const QStringList list = [] {
        QStringList out;
        for (const char* entry : kBuiltIn)
            out << QString::fromLatin1(entry);
        return out;
    }();
    return list;
}

bool TldList::knowsLowerCase(const QString& lowerLabel) const
{
    return m_lowerSet.contains(lowerLabel) || m_delegated->contains(lowerLabel);
}

void TldList::load(const QString& storedValue)
{
    m_mylist.clear();
    if (!storedValue.isEmpty())
        m_mylist = storedValue.split(QLatin1Char(':'));
    rebuild();
}

QString TldList::storedValue() const
{
    return m_mylist.join(QLatin1Char(':'));
}

void TldList::addUserEntry(const QString& entry)
{
    m_mylist << entry;
    rebuild();
}

void TldList::removeUserEntry(const QString& entry)
{
    // Every copy leaves the visible list, but only the first of the user's copies goes.
    m_mylist.removeOne(entry);
    rebuild();
}

void TldList::rebuild()
{
    m_toplist = builtIn() + m_mylist;
    std::stable_sort(m_toplist.begin(), m_toplist.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    m_lowerSet.clear();
    m_hasDottedEntries = false;
    for (const QString& entry : std::as_const(m_toplist)) {
        m_lowerSet.insert(entry.toLower());
        m_hasDottedEntries = m_hasDottedEntries || entry.contains(QLatin1Char('.'));
    }
}
