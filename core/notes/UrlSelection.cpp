#include "core/notes/UrlSelection.h"

#include <array>

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control ||
           c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

} // namespace

QString UrlSelection::trimmed(const QString& selection) {
    qsizetype first = 0;
    qsizetype last = selection.size();
    while (first < last && isBlankOrControl(selection.at(first)))
        ++first;
    while (last > first && isBlankOrControl(selection.at(last - 1)))
        --last;
    return selection.mid(first, last - first);
}

bool UrlSelection::looksLikeUrl(const QString& selection) {
    static const std::array<QLatin1String, 7> markers = {
        QLatin1String("http://"), QLatin1String("ftp://"), QLatin1String("www."),
        QLatin1String(".com"),    QLatin1String(".org"),   QLatin1String(".gov"),
        QLatin1String(".edu")};
    const QString text = trimmed(selection);
    for (const QLatin1String& marker : markers) {
        if (text.contains(marker, Qt::CaseSensitive))
            return true;
    }
    return false;
}

std::optional<QUrl> UrlSelection::openableUrl(const QString& selection) {
    QString text = trimmed(selection);
    if (text.isEmpty())
        return std::nullopt;
    // An address is one word: blanks or control characters inside mean ordinary text.
    for (QChar c : text) {
        if (isBlankOrControl(c))
            return std::nullopt;
    }
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return url.path().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("ftp")) {
        if (url.host().isEmpty())
            return std::nullopt;
        return url;
    }
    return std::nullopt;
}
