#include "core/mail/SmtpStepPlan.h"

void SmtpStepPlan::start(TSmtpRequest rqType, TSmtpFctSet steps) {
    m_running = true;
    m_rqType = rqType;
    m_steps = steps;
    m_previous = smtpFctNone;
    m_result = 0;
}

void SmtpStepPlan::clear() {
    m_running = false;
    m_steps = 0;
}

void SmtpStepPlan::abort(int code) {
    m_steps = 0;
    m_result = code;
}

void SmtpStepPlan::stepFailed(int code, bool tlsRequired) {
    if (m_previous == smtpFctEhlo && !tlsRequired) {
        // No ESMTP: greet the old way and go on without authentication.
        m_steps = smtpFctBit(smtpFctHelo);
        return;
    }
    m_result = code;
    const bool keepQuit = (m_steps & smtpFctBit(smtpFctQuit)) && m_previous != smtpFctQuit;
    m_steps = keepQuit ? smtpFctBit(smtpFctQuit) : 0;
}

TSmtpFct SmtpStepPlan::takeNext() {
    for (int f = smtpFctConnect; f <= smtpFctQuit; ++f) {
        const TSmtpFct fct = TSmtpFct(f);
        if (m_steps & smtpFctBit(fct)) {
            m_steps &= ~smtpFctBit(fct);
            m_previous = fct;
            return fct;
        }
    }
    return smtpFctNone;
}
