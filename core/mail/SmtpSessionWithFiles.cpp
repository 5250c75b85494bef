#include "core/mail/SmtpSessionWithFiles.h"

#include "core/mail/SmtpException.h"
#include "platform/Clock.h"

#include <QFileInfo>

namespace {

// A parameter value inside quotation marks.
QString quotedValue(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : value) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0) {
            out += QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

void SmtpSessionWithFiles::setEmailFiles(const QStringList& files) {
    QStringList kept;
    for (const QString& entry : files) {
        const QString name = entry.trimmed();
        if (name.isEmpty())
            continue;
        if (!QFileInfo(name).isFile())
            throw SmtpException(QStringLiteral("File not found '%1'").arg(name));
        kept << name;
    }
    m_emailFiles = kept;
}

void SmtpSessionWithFiles::Data() {
    m_multipart = !m_emailFiles.isEmpty();
    m_pending.clear();
    m_preambleLines = 0;
    m_part = Part::Text;
    m_fileNumber = -1;
    m_fileOpen = false;
    if (m_multipart) {
        m_boundary = QStringLiteral("= Multipart Boundary ") +
                     clock().now().toString(QStringLiteral("MMddyyhhmm"));
        m_pending << QStringLiteral("This is a multipart MIME message.") << QString()
                  << QStringLiteral("--") + m_boundary
                  << QStringLiteral("Content-Type: ") + ContentTypeText() +
                         QStringLiteral("; charset=") + quotedValue(BodyCharset())
                  << QStringLiteral("Content-Transfer-Encoding: quoted-printable") << QString();
        m_preambleLines = int(m_pending.size());
    }
    SmtpSession::Data();
}

void SmtpSessionWithFiles::TriggerHeaderLine(QString& Msg, int Size) {
    static const QLatin1String encoding("CONTENT-TRANSFER-ENCODING:");
    if (m_multipart &&
        Msg.left(13).compare(QLatin1String("CONTENT-TYPE:"), Qt::CaseInsensitive) == 0)
        Msg = QStringLiteral("Content-Type: multipart/mixed;\r\n\tboundary=") +
              quotedValue(m_boundary);
    // The text part says how it is encoded; the whole is plain ASCII.
    else if (m_multipart && Msg.left(encoding.size()).compare(encoding, Qt::CaseInsensitive) == 0)
        Msg = QStringLiteral("Content-Transfer-Encoding: 7bit");
    SmtpSession::TriggerHeaderLine(Msg, Size);
}

void SmtpSessionWithFiles::TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More) {
    if (!m_multipart) {
        SmtpSession::TriggerGetData(LineNum, MsgLine, MaxLen, More);
        return;
    }
    for (;;) {
        if (!m_pending.isEmpty()) {
            MsgLine = m_pending.takeFirst();
            return;
        }
        switch (m_part) {
        case Part::Text:
            SmtpSession::TriggerGetData(LineNum - m_preambleLines, MsgLine, MaxLen, More);
            if (More)
                return;
            More = true;
            m_part = Part::Files;
            continue;
        case Part::Files:
            if (m_fileOpen) {
                if (m_file.readLine(MsgLine))
                    return;
                m_file.close();
                m_fileOpen = false;
            }
            ++m_fileNumber;
            if (m_fileNumber < m_emailFiles.size()) {
                m_pending = PartHeader(m_fileNumber);
                m_file.open(m_emailFiles.at(m_fileNumber));
                m_fileOpen = true;
            } else {
                m_pending << QString() << QStringLiteral("--") + m_boundary + QStringLiteral("--");
                m_part = Part::Done;
            }
            continue;
        case Part::Done:
            More = false;
            return;
        }
    }
}

void SmtpSessionWithFiles::RequestFinished() {
    m_file.close();
}

QStringList SmtpSessionWithFiles::PartHeader(int fileNumber) {
    const QString ownName = QFileInfo(m_emailFiles.at(fileNumber)).fileName();
    QString name = ownName;
    QString type = QStringLiteral("application/octet-stream");
    TriggerAttachContentType(fileNumber, name, type);
    QStringList lines;
    lines << QString() << QStringLiteral("--") + m_boundary
          << QStringLiteral("Content-Type: ") + HeaderValue(type) + QLatin1Char(';')
          << QStringLiteral("\tname=") + quotedValue(name)
          << QStringLiteral("Content-Transfer-Encoding: base64")
          << QStringLiteral("Content-Disposition: attachment;")
          << QStringLiteral("\tfilename=") + quotedValue(ownName);
    TriggerAttachHeader(fileNumber, ownName, lines);
    lines << QString();
    return lines;
}

void SmtpSessionWithFiles::TriggerAttachContentType(int FileNumber, QString& FileName,
                                                    QString& ContentType) {
    if (OnAttachContentType)
        OnAttachContentType(this, FileNumber, FileName, ContentType);
}

void SmtpSessionWithFiles::TriggerAttachHeader(int FileNumber, const QString& FileName,
                                               QStringList& HdrLines) {
    if (OnAttachHeader)
        OnAttachHeader(this, FileNumber, FileName, HdrLines);
}
