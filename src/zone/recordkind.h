#pragma once

// The six kinds of record that a loaded zone keeps.
enum class RecordKind
{
    NameServer,        // NS
    MailServer,        // MX
    HostAddress,       // A
    Alias,             // CNAME
    ResponsiblePerson, // RP
    TextRecord,        // TXT
};
