#include "tests/mail/SessionHarness.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The encoded word of a short text.
QByteArray word(const char* utf8) {
    return "=?UTF-8?B?" + QByteArray(utf8).toBase64() + "?=";
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

class MailMessageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerBlock_data();
    void headerBlock();
    void body_data();
    void body();
    void longHeaderFolded();
    void ownHeaders();
    void messageEvents();
    void failingBodyLineDropsTheMessage();
    void htmlContentType();
    void attachments();
    void attachmentEvents();
    void attachmentFileList();
    void vanishedAttachmentDropsTheMessage();
};

void MailMessageTest::headerBlock_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("replyTo");
    QTest::addColumn<QString>("returnPath");
    QTest::addColumn<int>("utcOffset"); // minutes; -10000 for an unreadable zone
    QTest::addColumn<QByteArrayList>("expected");

    const QByteArray to = "To: ann@example.org, bob@example.org ";
    const QByteArray subject = "Subject: " + word("Tacknote - Lembrete de março €");
    const QByteArray tail1 = "Mime-Version: 1.0";
    const QByteArray tail2 = "Content-Type: text/plain; charset=\"utf-8\"\n"
                             "Content-Transfer-Encoding: quoted-printable\n"
                             "Message-ID: <*@example.org>";

    QTest::newRow("only From: Sender repeats it")
        << QStringLiteral("me@example.org") << QString() << QString() << QString() << -180
        << QByteArrayList{"From: me@example.org",
                          to,
                          subject,
                          "Sender: me@example.org",
                          tail1,
                          tail2,
                          "Date: Wed, 25 Dec 2002 14:30:05 -0300"};
    QTest::newRow("display name, quoted, with a comma and an accent")
        << QString::fromUtf8("\"Souza, José\" <jose@example.org>") << QString() << QString()
        << QString() << 0
        << QByteArrayList{"From: " + word("Souza, José") + " <jose@example.org>",
                          to,
                          subject,
                          "Sender: " + word("Souza, José") + " <jose@example.org>",
                          tail1,
                          tail2,
                          "Date: Wed, 25 Dec 2002 14:30:05 +0000"};
    QTest::newRow("every header") << QStringLiteral("me@example.org")
                                  << QStringLiteral("office@example.org")
                                  << QStringLiteral(" replies@example.org")
                                  << QStringLiteral("<bounces@example.org>") << 60
                                  << QByteArrayList{"Reply-To:  replies@example.org",
                                                    "Return-Path: <bounces@example.org>",
                                                    "From: me@example.org",
                                                    to,
                                                    subject,
                                                    "Sender: office@example.org",
                                                    tail1,
                                                    tail2,
                                                    "Date: Wed, 25 Dec 2002 14:30:05 +0100"};
    QTest::newRow("empty From, blank Reply-To")
        << QString() << QString() << QStringLiteral(" \t ") << QString() << 330
        << QByteArrayList{"From: ",
                          to,
                          subject,
                          tail1,
                          QByteArray(tail2).replace("example.org", "tester"),
                          "Date: Wed, 25 Dec 2002 14:30:05 +0530"};
    QTest::newRow("unreadable zone")
        << QStringLiteral("me@example.org") << QString() << QString() << QString() << -10000
        << QByteArrayList{"From: me@example.org",
                          to,
                          subject,
                          "Sender: me@example.org",
                          tail1,
                          tail2,
                          "Date: Wed, 25 Dec 2002 14:30:05 -0000"};
}

void MailMessageTest::headerBlock() {
    QFETCH(QString, from);
    QFETCH(QString, sender);
    QFETCH(QString, replyTo);
    QFETCH(QString, returnPath);
    QFETCH(int, utcOffset);
    QFETCH(QByteArrayList, expected);

    Harness h;
    h.offset.set(utcOffset == -10000 ? std::nullopt : std::optional<int>(utcOffset));
    h.smtp.HdrFrom = from;
    h.smtp.HdrTo = QStringLiteral("ann@example.org, bob@example.org ");
    h.smtp.HdrSubject = QString::fromUtf8("Tacknote - Lembrete de março €");
    h.smtp.HdrSender = sender;
    h.smtp.HdrReplyTo = replyTo;
    h.smtp.HdrReturnPath = returnPath;
    h.smtp.MailMessage = {QStringLiteral("text")};
    QVERIFY(h.send());
    QCOMPARE(h.lastResult(), quint16(0));
    QCOMPARE(h.headerLines().join('\n'), expected.join('\n'));
    QCOMPARE(h.bodyLines(), QByteArrayList{"text"});
}

void MailMessageTest::body_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArrayList>("expected");

    QTest::newRow("dots at line starts are doubled")
        << QStringList{".", ".hidden", "mid.dle", " .blank first", ""}
        << QByteArrayList{"..", "..hidden", "mid.dle", " .blank first", ""};
    QTest::newRow("long lines get soft breaks, a final blank is kept")
        << QStringList{QString(100, QLatin1Char('a')) + QLatin1Char(' '),
                       QString(76, QLatin1Char('b'))}
        << QByteArrayList{QByteArray(75, 'a') + '=', QByteArray(25, 'a') + "=20",
                          QByteArray(76, 'b')};
    QTest::newRow("line holding CR LF pairs gives further lines")
        << QStringList{"note text", "\r\n\r\n", "Maria", "\r\n\r\n", "--"}
        << QByteArrayList{"note text", "", "", "", "Maria", "", "", "", "--"};
    QTest::newRow("text in UTF-8, quoted-printable")
        << QStringList{QString::fromUtf8("Faça o download gratuíto em"),
                       QString::fromUtf8("a=b € 😀"), QStringLiteral("From here\ttab\t")}
        << QByteArrayList{"Fa=C3=A7a o download gratu=C3=ADto em", "a=3Db =E2=82=AC =F0=9F=98=80",
                          "=46rom here\ttab=09"};
    QTest::newRow("no lines") << QStringList{} << QByteArrayList{};
}

void MailMessageTest::body() {
    QFETCH(QStringList, lines);
    QFETCH(QByteArrayList, expected);
    Harness h;
    h.smtp.MailMessage = lines;
    QVERIFY(h.send());
    QCOMPARE(h.lastResult(), quint16(0));
    QCOMPARE(h.bodyLines(), expected);
}

void MailMessageTest::longHeaderFolded() {
    Harness h;
    QStringList addresses;
    for (int i = 0; i < 120; ++i)
        addresses << QStringLiteral("person%1@example.org").arg(i, 3, 10, QLatin1Char('0'));
    h.smtp.HdrTo = addresses.join(QStringLiteral(", "));
    h.smtp.HdrSubject = QString(1200, QLatin1Char('s'));
    QVERIFY(h.send());
    QCOMPARE(h.lastResult(), quint16(0));
    // Unfolding (dropping each CR LF before a blank) gives back the lines as they were.
    QByteArray header;
    for (const QByteArray& line : h.headerLines()) {
        QVERIFY(line.size() <= 998);
        if (!header.isEmpty() && !line.startsWith(' ') && !line.startsWith('\t'))
            header += '\n';
        header += line;
    }
    const QByteArrayList unfolded = header.split('\n');
    QVERIFY(unfolded.contains("To: " + h.smtp.HdrTo.toLatin1()));
    // A value without a blank to fold at keeps every character; the fold adds one blank.
    QVERIFY(unfolded.contains("Subject: " + QByteArray(997, 's') + ' ' + QByteArray(203, 's')));
}

void MailMessageTest::ownHeaders() {
    Harness h;
    h.smtp.OwnHeaders = true;
    h.smtp.HdrSubject = QStringLiteral("not sent");
    h.smtp.MailMessage = {QStringLiteral("Subject: own"), QString(), QStringLiteral("body")};
    QVERIFY(h.send());
    QCOMPARE(h.server.messageLines, (QByteArrayList{"Subject: own", "", "body"}));
}

void MailMessageTest::messageEvents() {
    Harness h;
    h.smtp.HdrSubject = QStringLiteral("plain");
    h.smtp.MailMessage = {QStringLiteral("first")};
    QList<int> asked;
    QList<int> maxLens;
    h.smtp.OnGetData = [&](SmtpSession*, int lineNum, QString& line, int maxLen, bool& more) {
        asked << lineNum;
        maxLens << maxLen;
        if (lineNum <= 2)
            line = QStringLiteral("extra %1").arg(lineNum);
        else
            more = false;
    };
    QList<int> sizes;
    h.smtp.OnHeaderLine = [&](SmtpSession*, QString& line, int size) {
        sizes << size;
        if (line.startsWith(QLatin1String("Subject:")))
            line = QStringLiteral("Subject: rewritten");
    };
    h.smtp.OnProcessHeader = [&](SmtpSession*, QStringList& lines) {
        QVERIFY(lines.last().startsWith(QLatin1String("Date: ")));
        lines << QStringLiteral("X-Mailer: Tacknote") << QStringLiteral(".dotted");
    };
    QStringList shown;
    h.smtp.OnDisplay = [&](SmtpSession*, const QString& msg) { shown << msg; };
    QVERIFY(h.send());
    QCOMPARE(h.lastResult(), quint16(0));
    QCOMPARE(asked, (QList<int>{1, 2, 3}));
    QCOMPARE(maxLens.first(), 1023);
    QCOMPARE(h.bodyLines(), (QByteArrayList{"first", "extra 1", "extra 2"}));
    const QByteArrayList header = h.headerLines();
    QCOMPARE(header.at(2), QByteArray("Subject: rewritten"));
    QCOMPARE(header.mid(header.size() - 2), (QByteArrayList{"X-Mailer: Tacknote", "..dotted"}));
    QCOMPARE(sizes.size(), header.size() + 1); // the empty separator line too
    QVERIFY(sizes.count(1024) == sizes.size());
    QVERIFY(shown.contains(QStringLiteral("> extra 1")));
    QVERIFY(shown.contains(QStringLiteral("< 250 2.0.0 queued")));
}

void MailMessageTest::failingBodyLineDropsTheMessage() {
    Harness h;
    h.smtp.MailMessage = {QStringLiteral("first")};
    h.smtp.OnGetData = [](SmtpSession*, int, QString&, int, bool&) {
        throw SmtpException(QStringLiteral("no more text"));
    };
    QVERIFY(h.send());
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, 500));
    QCOMPARE(h.smtp.ErrorMessage(), QStringLiteral("500 no more text"));
    QVERIFY(!h.smtp.IsConnected());
    QVERIFY(h.waitForServerDisconnections(1));
    QVERIFY(!h.server.messageComplete);
}

void MailMessageTest::htmlContentType() {
    Harness h;
    h.smtp.setContentType(smtpHTML);
    h.smtp.CharSet = QStringLiteral("windows-1252");
    QCOMPARE(h.smtp.ContentTypeText(), QStringLiteral("text/html"));
    QVERIFY(h.send());
    QVERIFY(h.headerLines().contains("Content-Type: text/html; charset=\"windows-1252\""));
    h.smtp.setContentType(smtpPlainText);
    QCOMPARE(h.smtp.ContentTypeText(), QStringLiteral("text/plain"));
}

void MailMessageTest::attachments() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray binary;
    for (int i = 0; i < 100; ++i)
        binary += char(i * 7);
    QVERIFY(writeFile(dir.filePath("data.bin"), binary));
    QVERIFY(writeFile(dir.filePath("empty.txt"), QByteArray()));

    Harness h;
    h.clock.set(QDateTime(QDate(2003, 7, 4), QTime(9, 5, 30)));
    h.smtp.HdrFrom = QStringLiteral("me@example.org");
    h.smtp.MailMessage = {QStringLiteral("see the files"), QStringLiteral(".")};
    h.smtp.setEmailFiles({QStringLiteral("  ") + dir.filePath("data.bin") + QStringLiteral(" "),
                          QString(), dir.filePath("empty.txt")});
    QCOMPARE(h.smtp.EmailFiles().size(), 2);
    QVERIFY(h.send());
    QCOMPARE(h.lastResult(), quint16(0));

    const QByteArray boundary = "= Multipart Boundary 0704030905";
    const QByteArrayList lines = h.server.messageLines;
    const qsizetype ct = lines.indexOf("Content-Type: multipart/mixed;");
    QVERIFY(ct > 0);
    QCOMPARE(lines.at(ct + 1), "\tboundary=\"" + boundary + "\"");
    QCOMPARE(lines.at(ct + 2), "Content-Transfer-Encoding: 7bit");

    const QByteArrayList base64 = {binary.mid(0, 45).toBase64(), binary.mid(45, 45).toBase64(),
                                   binary.mid(90).toBase64()};
    QCOMPARE(base64.first().size(), 60);
    QByteArrayList expected{"This is a multipart MIME message.",
                            "",
                            "--" + boundary,
                            "Content-Type: text/plain; charset=\"utf-8\"",
                            "Content-Transfer-Encoding: quoted-printable",
                            "",
                            "see the files",
                            "..",
                            "",
                            "--" + boundary,
                            "Content-Type: application/octet-stream;",
                            "\tname=\"data.bin\"",
                            "Content-Transfer-Encoding: base64",
                            "Content-Disposition: attachment;",
                            "\tfilename=\"data.bin\"",
                            ""};
    expected << base64;
    expected << ""
             << "--" + boundary << "Content-Type: application/octet-stream;"
             << "\tname=\"empty.txt\""
             << "Content-Transfer-Encoding: base64"
             << "Content-Disposition: attachment;"
             << "\tfilename=\"empty.txt\""
             << ""
             << ""
             << "--" + boundary + "--";
    QCOMPARE(h.bodyLines(), expected);

    // Without files the next message is a plain one again.
    h.smtp.setEmailFiles({});
    h.server.messageLines.clear();
    QVERIFY(h.send());
    QVERIFY(h.headerLines().contains("Content-Type: text/plain; charset=\"utf-8\""));
    QVERIFY(h.headerLines().contains("Content-Transfer-Encoding: quoted-printable"));
    QCOMPARE(h.bodyLines(), (QByteArrayList{"see the files", ".."}));
}

void MailMessageTest::attachmentEvents() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("photo.jpg"), "JFIF"));
    QVERIFY(writeFile(dir.filePath("odd\"name.txt"), "x"));
    Harness h;
    h.smtp.setEmailFiles({dir.filePath("photo.jpg"), dir.filePath("odd\"name.txt")});
    QList<int> numbers;
    h.smtp.OnAttachContentType = [&](SmtpSessionWithFiles*, int number, QString& name,
                                     QString& type) {
        numbers << number;
        if (number == 0) {
            type = QStringLiteral("image/jpeg");
            name = QStringLiteral("holiday.jpg");
        }
    };
    h.smtp.OnAttachHeader = [&](SmtpSessionWithFiles*, int number, const QString& name,
                                QStringList& lines) {
        lines << QStringLiteral("Content-Description: file %1 %2").arg(number).arg(name);
    };
    QVERIFY(h.send());
    QCOMPARE(numbers, (QList<int>{0, 1}));
    const QByteArrayList body = h.bodyLines();
    const qsizetype first = body.indexOf("Content-Type: image/jpeg;");
    QVERIFY(first > 0);
    QCOMPARE(
        body.mid(first, 7),
        (QByteArrayList{"Content-Type: image/jpeg;", "\tname=\"holiday.jpg\"",
                        "Content-Transfer-Encoding: base64", "Content-Disposition: attachment;",
                        "\tfilename=\"photo.jpg\"", "Content-Description: file 0 photo.jpg", ""}));
    QVERIFY(body.contains("\tfilename=\"odd\\\"name.txt\""));
}

void MailMessageTest::attachmentFileList() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.txt"), "a"));
    Harness h;
    h.smtp.setEmailFiles({dir.filePath("a.txt")});
    const QString missing = dir.filePath("missing.txt");
    QCOMPARE(thrownText([&] {
                 h.smtp.setEmailFiles({dir.filePath("a.txt"), missing});
             }),
             QStringLiteral("File not found '") + missing + QLatin1Char('\''));
    QCOMPARE(h.smtp.EmailFiles(), QStringList{dir.filePath("a.txt")});
    QCOMPARE(thrownText([&] { h.smtp.setEmailFiles({dir.path()}); }),
             QStringLiteral("File not found '") + dir.path() + QLatin1Char('\''));
}

void MailMessageTest::vanishedAttachmentDropsTheMessage() {
    QTemporaryDir dir;
    const QString path = dir.filePath("gone.txt");
    QVERIFY(writeFile(path, "soon gone"));
    Harness h;
    h.smtp.setEmailFiles({path});
    QVERIFY(QFile::remove(path));
    h.smtp.MailMessage = {QStringLiteral("text")};
    QVERIFY(h.send());
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, 500));
    QCOMPARE(h.smtp.ErrorMessage(),
             QStringLiteral("500 File not found '") + path + QLatin1Char('\''));
    QVERIFY(h.waitForServerDisconnections(1));
    QVERIFY(!h.server.messageComplete);
}

QTEST_GUILESS_MAIN(MailMessageTest)
#include "tst_MailMessage.moc"
