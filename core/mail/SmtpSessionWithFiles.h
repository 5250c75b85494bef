#pragma once

#include "core/mail/AttachmentReader.h"
#include "core/mail/SmtpSession.h"

class SmtpSessionWithFiles;

using TSmtpAttachmentContentType = std::function<void(SmtpSessionWithFiles* Sender, int FileNumber,
                                                      QString& FileName, QString& ContentType)>;
using TSmtpAttachHeader = std::function<void(SmtpSessionWithFiles* Sender, int FileNumber,
                                             const QString& FileName, QStringList& HdrLines)>;

// The SMTP session with file attachments: with at least one file in EmailFiles the message
// becomes multipart/mixed, the text first and then every file in Base64.
class SmtpSessionWithFiles : public SmtpSession {
    Q_OBJECT
public:
    using SmtpSession::SmtpSession;

    QStringList EmailFiles() const { return m_emailFiles; }
    // Keeps every non-blank entry, trimmed. Throws SmtpException "File not found '...'"
    // for an entry that names no existing file, leaving the list as it was.
    void setEmailFiles(const QStringList& files);

    TSmtpAttachmentContentType OnAttachContentType;
    TSmtpAttachHeader OnAttachHeader;

    void Data() override;

protected:
    void TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More) override;
    void TriggerHeaderLine(QString& Msg, int Size) override;
    virtual void TriggerAttachContentType(int FileNumber, QString& FileName, QString& ContentType);
    virtual void TriggerAttachHeader(int FileNumber, const QString& FileName,
                                     QStringList& HdrLines);
    // A file still open when the request ends is closed.
    void RequestFinished() override;

private:
    enum class Part { Text, Files, Done };

    QStringList PartHeader(int fileNumber);

    QStringList m_emailFiles;
    bool m_multipart = false;
    QString m_boundary;
    QStringList m_pending; // prepared lines, sent before anything else
    int m_preambleLines = 0;
    Part m_part = Part::Text;
    int m_fileNumber = -1;
    bool m_fileOpen = false;
    AttachmentReader m_file;
};
