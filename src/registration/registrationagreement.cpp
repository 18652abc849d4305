#include "registration/registrationagreement.h"

namespace {

// Each paragraph is kept as its printed lines, so that the template reads the same wherever it is shown.
// clang-format off
const char* const kParagraphs[][6] = {
    {"A.Introduction. This agreement sets out the terms on which the registry",
     "records the domain name named below for the registrant who sends this",
     "template. Sending the template is an application; the name is registered",
     "only once the registry has accepted it and entered it in its database.", nullptr},
    {"B.Fees and Payments. The registrant pays the registration fee and each",
     "yearly renewal fee that the registry charges at the time. The invoice goes",
     "to the billing contact. A name whose fee stays unpaid after the period the",
     "invoice allows may be taken out of the database.", nullptr},
    {"C.Dispute Policy. The registrant accepts the registry's policy on disputes",
     "about domain names as it stands when this template is sent and as it is",
     "changed later. That policy forms part of this agreement.", nullptr},
    {"D.Dispute Policy Changes or Modifications. The registry may change its",
     "dispute policy at any time. A change applies to this registration once it",
     "has been published. A registrant who does not accept a change may ask for",
     "the name to be removed.", nullptr},
    {"E.Disputes. Where someone else claims a right to the registered name, the",
     "registrant answers the claim itself. The registry does not decide who is",
     "right; it follows its dispute policy and the orders of a competent court.", nullptr},
    {"F.Agents. Whoever sends this template on behalf of someone else confirms",
     "being allowed to act for that registrant and that the registrant has agreed",
     "to these terms. Both are bound by them.", nullptr},
    {"G.Limitation of Liability. The registry does not answer for loss caused by",
     "the registration, by a refusal or by a break in its service, unless the loss",
     "comes from its wilful misconduct or gross negligence. Its liability never",
     "exceeds the fees paid for this registration.", nullptr},
    {"H.Indemnity. The registrant keeps the registry, its staff and its agents",
     "free of claims, costs and damages that arise from the registrant's use of",
     "the domain name.", nullptr},
    {"I.Breach. A registrant who breaks these terms, or who gives false details in",
     "this template, may lose the registration.", nullptr},
    {"J.No Guaranty. A registration is no proof that the registrant may use the",
     "name. The registry does not look into trademarks or other rights before it",
     "registers a name.", nullptr},
    {"K.Warranty. The registrant confirms that the details in this template are",
     "true and complete, that the name does not infringe anyone's rights and that",
     "it is not sought for an unlawful purpose.", nullptr},
    {"L.Revocation. The registry may suspend, transfer or delete the registration",
     "when a court or its dispute policy requires it, or when details in this",
     "template prove to be false.", nullptr},
    {"M.Right of Refusal. The registry may turn down any application at its own",
     "discretion. Turning one down makes the registry liable for nothing.", nullptr},
    {"N.Severability. Should a court hold one part of this agreement void, the",
     "other parts stay in force.", nullptr},
    {"O.Entirety. This agreement and the dispute policy are all that the registrant",
     "and the registry have agreed about this registration. They replace anything",
     "said earlier on the same matter.", nullptr},
    {"P.Governing Law. The law of the place where the registry has its seat governs",
     "this agreement, and disputes between the parties go to the courts there.", nullptr},
    {"Q.This is Domain Name Registration Agreement Version 3.5. By sending this",
     "template the registrant confirms having read sections A to P above and",
     "accepts them.", nullptr},
};
// clang-format on

QStringList buildLines()
{
    QStringList lines;
    for (const auto& paragraph : kParagraphs) {
        for (const char* const* line = paragraph; *line; ++line)
            lines << QString::fromLatin1(*line);
        lines << QString();
    }
    lines << QString(); // the last section stands apart from the fields by one more blank line
    return lines;
}

} // namespace

const QStringList& registrationAgreementLines()
{
    static const QStringList lines = buildLines();
    return lines;
}
