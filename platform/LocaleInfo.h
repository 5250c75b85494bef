#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// The user's locale as the notes file and the interface see it: a Windows locale
// identifier and the Windows-style short date and long time formats. Every date or
// time the program shows or stores as text goes through here.
class LocaleInfo {
public:
    static constexpr int LcidPortugueseBrazil = 1046;
    static constexpr int LcidEnglishUs = 1033;

    virtual ~LocaleInfo() = default;

    virtual int lcid() const = 0;
    // Qt date format patterns (d, M, y, h, H, m, s, AP).
    virtual QString shortDateFormat() const = 0;
    virtual QString longTimeFormat() const = 0;
    // Locale used for names in the patterns (AM/PM markers and the like).
    virtual QLocale locale() const = 0;

    QString formatDate(QDate date) const;
    QString formatTime(QTime time) const;
    // Short date, a blank and the long time; only the date at exactly midnight.
    QString formatDateTime(const QDateTime& value) const;
    // Reads the forms formatDateTime writes; nothing for text of any other form.
    std::optional<QDateTime> parseDateTime(const QString& text) const;
};
