#pragma once

#include <QFile>
#include <QString>

// A file attached to a message, read as the lines of its Base64 form: 45 bytes, so 60
// characters, a line.
class AttachmentReader {
public:
    // Closes the file open before; throws SmtpException when this one cannot be read.
    void open(const QString& fileName);
    // The next line; false at the end of the file or when none is open. Throws
    // SmtpException when the file cannot be read on.
    bool readLine(QString& line);
    void close();

private:
    QFile m_file;
};
