#include "platform/system/QtLocaleInfo.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QHash<QString, int>& lcidTable() {
    static const QHash<QString, int> table = {
        {QStringLiteral("pt_BR"), 1046}, {QStringLiteral("pt_PT"), 2070},
        {QStringLiteral("en_US"), 1033}, {QStringLiteral("en_GB"), 2057},
        {QStringLiteral("en_AU"), 3081}, {QStringLiteral("en_CA"), 4105},
        {QStringLiteral("en_IE"), 6153}, {QStringLiteral("en_NZ"), 5129},
        {QStringLiteral("en_ZA"), 7177}, {QStringLiteral("en_IN"), 16393},
        {QStringLiteral("de_DE"), 1031}, {QStringLiteral("de_AT"), 3079},
        {QStringLiteral("de_CH"), 2055}, {QStringLiteral("fr_FR"), 1036},
        {QStringLiteral("fr_BE"), 2060}, {QStringLiteral("fr_CA"), 3084},
        {QStringLiteral("fr_CH"), 4108}, {QStringLiteral("es_ES"), 3082},
        {QStringLiteral("es_MX"), 2058}, {QStringLiteral("es_AR"), 11274},
        {QStringLiteral("it_IT"), 1040}, {QStringLiteral("nl_NL"), 1043},
        {QStringLiteral("nl_BE"), 2067}, {QStringLiteral("sv_SE"), 1053},
        {QStringLiteral("da_DK"), 1030}, {QStringLiteral("nb_NO"), 1044},
        {QStringLiteral("fi_FI"), 1035}, {QStringLiteral("pl_PL"), 1045},
        {QStringLiteral("cs_CZ"), 1029}, {QStringLiteral("hu_HU"), 1038},
        {QStringLiteral("ru_RU"), 1049}, {QStringLiteral("uk_UA"), 1058},
        {QStringLiteral("el_GR"), 1032}, {QStringLiteral("tr_TR"), 1055},
        {QStringLiteral("ja_JP"), 1041}, {QStringLiteral("ko_KR"), 1042},
        {QStringLiteral("zh_CN"), 2052}, {QStringLiteral("zh_TW"), 1028},
        {QStringLiteral("ar_SA"), 1025}, {QStringLiteral("he_IL"), 1037},
    };
    return table;
}

// Qt's long time formats end in a time zone ("t"); Windows long times carry none.
QString withoutZone(QString format) {
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

// Windows short dates of the addressed languages show four-digit years.
QString withFourDigitYear(QString format) {
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace

QtLocaleInfo::QtLocaleInfo(const QLocale& locale) : m_locale(locale), m_lcid(lcidFor(locale)) {
    if (m_lcid == LcidPortugueseBrazil) {
        m_shortDate = QStringLiteral("dd/MM/yyyy");
        m_longTime = QStringLiteral("HH:mm:ss");
    } else if (m_lcid == LcidEnglishUs) {
        m_shortDate = QStringLiteral("M/d/yyyy");
        m_longTime = QStringLiteral("h:mm:ss AP");
        m_locale = QLocale(QLocale::English, QLocale::UnitedStates);
    } else {
        m_shortDate = withFourDigitYear(locale.dateFormat(QLocale::ShortFormat));
        m_longTime = withoutZone(locale.timeFormat(QLocale::LongFormat));
    }
}

int QtLocaleInfo::lcidFor(const QLocale& locale) {
    // The C locale stands for the system default, which is United States English.
    if (locale.language() == QLocale::C)
        return LcidEnglishUs;
    const auto it = lcidTable().constFind(locale.name());
    return it == lcidTable().constEnd() ? 4096 : it.value();
}
