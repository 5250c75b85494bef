#pragma once

#include "core/mail/SmtpTypes.h"

// The steps of a high-level request that are still to run, taken in their fixed order
// (CONNECT first, QUIT last), and the request's result so far. A failed step ends the
// plan, all but a QUIT still to come; a refused EHLO is followed by HELO instead, unless
// TLS is required (which needs EHLO).
class SmtpStepPlan {
public:
    void start(TSmtpRequest rqType, TSmtpFctSet steps);
    // No request is running any more.
    void clear();

    bool isRunning() const { return m_running; }
    TSmtpRequest requestType() const { return m_rqType; }
    int result() const { return m_result; }

    // The request was aborted: no step runs any more, and it ends with code.
    void abort(int code);
    // The step taken last ended with code, not 0.
    void stepFailed(int code, bool tlsRequired);
    // The next step, taken off the plan; smtpFctNone when none is left.
    TSmtpFct takeNext();

private:
    bool m_running = false;
    TSmtpRequest m_rqType = smtpReqOpen;
    TSmtpFctSet m_steps = 0;
    TSmtpFct m_previous = smtpFctNone;
    int m_result = 0;
};
