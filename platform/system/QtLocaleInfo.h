#pragma once

#include "platform/LocaleInfo.h"

// Locale information derived from a QLocale (by default the user's system locale),
// mapped to the Windows locale identifiers and date and time formats.
class QtLocaleInfo final : public LocaleInfo {
public:
    explicit QtLocaleInfo(const QLocale& locale = QLocale::system());

    int lcid() const override { return m_lcid; }
    QString shortDateFormat() const override { return m_shortDate; }
    QString longTimeFormat() const override { return m_longTime; }
    QLocale locale() const override { return m_locale; }

    // Windows identifier of a locale; 4096 (an unspecified custom locale) when unknown.
    static int lcidFor(const QLocale& locale);

private:
    QLocale m_locale;
    int m_lcid;
    QString m_shortDate;
    QString m_longTime;
};
