#include "core/mail/AttachmentReader.h"

#include "core/mail/MailEncoding.h"
#include "core/mail/SmtpException.h"

void AttachmentReader::open(const QString& fileName) {
    close();
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::ReadOnly))
        throw SmtpException(QStringLiteral("File not found '%1'").arg(fileName));
}

bool AttachmentReader::readLine(QString& line) {
    if (!m_file.isOpen())
        return false;
    const QByteArray chunk = m_file.read(45);
    if (chunk.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            throw SmtpException(QStringLiteral("Unable to read '%1'").arg(m_file.fileName()));
        return false;
    }
    line = QString::fromLatin1(MailEncoding::base64Encode(chunk));
    return true;
}

void AttachmentReader::close() {
    if (m_file.isOpen())
        m_file.close();
}
