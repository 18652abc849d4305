// A registration profile over any bytes, read for each kind and made into its template.
#include "fuzzsupport.h"
#include "registration/registrationdocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("profiles/profile.ini"), fuzzInput(data, size));
    for (const RegistrationKind kind : {RegistrationKind::Domain, RegistrationKind::Host, RegistrationKind::Contact}) {
        for (const RegistrationAction action : {RegistrationAction::New, RegistrationAction::Delete})
            documentFromProfileFile(kind, path, action, QStringLiteral("processed"));
    }
    return 0;
}
