#pragma once

// The enumerations of the SMTP session; their numbers are fixed.

// Where the session is.
enum TSmtpState : int {
    smtpReady,
    smtpDnsLookup,
    smtpConnecting,
    smtpConnected,
    smtpInternalReady,
    smtpWaitingBanner,
    smtpWaitingResponse,
    smtpAbort
};

enum TSmtpAuthType : int { smtpAuthNone, smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5 };

enum TSmtpContentType : int { smtpHTML, smtpPlainText };

// How the session protects the connection; the numbers are those of the setting that
// chooses it.
enum TSmtpTlsMode : int {
    smtpTlsWhenOffered, // STARTTLS after EHLO when the server offers it, else plain text
    smtpTlsRequired,    // STARTTLS after EHLO, and no session without it
    smtpTlsImplicit,    // TLS from the first byte ("smtps", port 465)
    smtpTlsNone         // plain text only
};

// The kind of request reported when a request ends.
enum TSmtpRequest : int {
    smtpReqConnect = 0,
    smtpReqHelo = 1,
    smtpReqMailFrom = 2,
    smtpReqVrfy = 3,
    smtpReqRcptTo = 4,
    smtpReqData = 5,
    smtpReqQuit = 6,
    smtpReqRset = 7,
    smtpReqOpen = 8,
    smtpReqMail = 9,
    smtpReqEhlo = 10,
    smtpReqAuth = 11,
    smtpReqStartTls = 12
};

// The steps a high-level request is made of, in the order they run.
enum TSmtpFct : int {
    smtpFctNone = -1,
    smtpFctConnect = 0,
    smtpFctHelo,
    smtpFctEhlo,
    smtpFctStartTls,
    smtpFctAuth,
    smtpFctVrfy,
    smtpFctMailFrom,
    smtpFctRcptTo,
    smtpFctData,
    smtpFctQuit
};
using TSmtpFctSet = unsigned;
constexpr TSmtpFctSet smtpFctBit(TSmtpFct fct) {
    return 1u << unsigned(fct);
}
