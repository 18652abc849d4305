#pragma once

#include "checks/delegatedtlds.h"

#include <QSet>
#include <QString>
#include <QStringList>

// The known top-level domains and country extensions: a fixed built-in part and up to 40 entries the user
// added. toplist is what the user sees; the lower-case set, with the root zone's top-level domains beside it,
// answers the "ends in a known TLD" test in one lookup.
class TldList
{
public:
    static constexpr int kMaxUserEntries = 40;

    TldList();

    static const QStringList& builtIn(); // bglist
    const QStringList& userEntries() const { return m_mylist; } // mylist
    const QStringList& entries() const { return m_toplist; }    // toplist, sorted

    // Rebuilds the lists from the stored "TLD" value (user entries joined by ":").
    void load(const QString& storedValue);
    QString storedValue() const;

    bool containsExactly(const QString& entry) const { return m_toplist.contains(entry); }
    bool isBuiltIn(const QString& entry) const { return builtIn().contains(entry); }
    // Whether the lower-case text is an entry of the list or a top-level domain of the root zone.
    bool knowsLowerCase(const QString& lowerLabel) const;
    // The root zone's top-level domains the checks know beyond the list (normally those of the installed public
    // suffix list, or its built-in copy); they are not shown and cannot be deleted.
    void setDelegatedTlds(TldSet tlds) { m_delegated = std::move(tlds); }
    // Whether some entry holds a dot ("co.uk"); only then can more than the last label of a name match.
    bool hasDottedEntries() const { return m_hasDottedEntries; }

    void addUserEntry(const QString& entry);
    void removeUserEntry(const QString& entry);

private:
    void rebuild();

    QStringList m_mylist;
    QStringList m_toplist;
    QSet<QString> m_lowerSet;
    TldSet m_delegated = defaultDelegatedTlds();
    bool m_hasDottedEntries = false;
};
