#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// What the note's "Abrir &URL" command does with the selected text.
class UrlSelection {
public:
    // The selection with leading and trailing blanks and control characters removed.
    static QString trimmed(const QString& selection);
    // Whether the menu offers to open the selection: the trimmed text contains, with
    // exact letter case, one of "http://", "ftp://", "www.", ".com", ".org", ".gov" or
    // ".edu". An empty selection never does.
    static bool looksLikeUrl(const QString& selection);
    // The address the selection is opened as, or none. Only web and mail addresses are
    // opened (http, https, ftp, mailto, and text starting with "www." as http), so text
    // typed into a received note can never start a program or open a local file.
    static std::optional<QUrl> openableUrl(const QString& selection);
};
