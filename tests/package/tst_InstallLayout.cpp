#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs a program to its end; its output when it fails.
bool run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The values of key in the order the file gives them.
QStringList valuesOf(const QString& text, const QString& key) {
    QStringList values;
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(key) +
                                      QStringLiteral("=(.*)$"),
                                  QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : line.globalMatch(text))
        values.append(match.captured(1));
    return values;
}

} // namespace

class tst_InstallLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shippedFiles_data();
    void shippedFiles();
    void program();
    void icons_data();
    void icons();
    void desktopEntry_data();
    void desktopEntry();
    void metainfo();

private:
    QString install(const QString& prefix);

    QTemporaryDir m_root;
    QString m_prefix;
};

QString tst_InstallLayout::install(const QString& prefix) {
    QString output;
    const bool done = run(QStringLiteral(TACKNOTE_CMAKE_COMMAND),
                          {QStringLiteral("--install"), QStringLiteral(TACKNOTE_BUILD_DIR),
                           QStringLiteral("--prefix"), prefix},
                          &output);
    return done ? QString() : output;
}

void tst_InstallLayout::initTestCase() {
    QVERIFY(m_root.isValid());
    m_prefix = m_root.filePath(QStringLiteral("usr"));
    const QString failure = install(m_prefix);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void tst_InstallLayout::shippedFiles_data() {
    QTest::addColumn<QString>("path");
    for (const char* path :
         {"share/tacknote/default_ptb.tkn", "share/tacknote/default_enu.tkn",
          "share/tacknote/tacknote.PTB", "share/tacknote/tacknote.ENU",
          "share/tacknote/help/tacknote.html", "share/tacknote/help/tacknote_enu.html",
          "share/tacknote/help/index.html", "share/tacknote/help/index_enu.html",
          "share/tacknote/boing.wav", "share/tacknote/recycle.wav", "share/tacknote/BIPECOMP.WAV",
          "share/tacknote/browser/manifest.json", "share/tacknote/browser/icons/tacknote-16.png",
          "share/man/man1/tacknote.1.gz", "share/doc/tacknote/copyright",
          "share/doc/tacknote/changelog.gz", "share/metainfo/org.example.tacknote.metainfo.xml",
          "share/icons/hicolor/scalable/apps/tacknote.svg"})
        QTest::newRow(path) << QString::fromLatin1(path);
}

void tst_InstallLayout::shippedFiles() {
    QFETCH(QString, path);
    const QFileInfo file(QDir(m_prefix).filePath(path));
    QVERIFY2(file.isFile(), qPrintable(file.filePath()));
    QVERIFY(file.size() > 0);
}

// The programs alone live in lib/tacknote/; the link in bin/ finds the program there.
void tst_InstallLayout::program() {
    QCOMPARE(QDir(QDir(m_prefix).filePath(QStringLiteral("lib/tacknote")))
                 .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("tacknote"), QStringLiteral("tacknote-capture")}));
    const QFileInfo link(QDir(m_prefix).filePath(QStringLiteral("bin/tacknote")));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(),
             QFileInfo(QDir(m_prefix).filePath(QStringLiteral("lib/tacknote/tacknote")))
                 .absoluteFilePath());
    QVERIFY(link.isExecutable());
}

void tst_InstallLayout::icons_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void tst_InstallLayout::icons() {
    QFETCH(int, size);
    const QString path = QDir(m_prefix).filePath(
        QStringLiteral("share/icons/hicolor/%1x%1/apps/tacknote.png").arg(size));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), QSize(size, size));
    const QImage image = reader.read();
    QVERIFY(image.hasAlphaChannel());
    // Transparent at the corner, the yellow note in the middle.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    const QColor middle = image.pixelColor(size / 2, size * 2 / 3);
    QVERIFY2(middle.red() > 200 && middle.green() > 180 && middle.blue() < 140,
             qPrintable(middle.name()));
}

void tst_InstallLayout::desktopEntry_data() {
    QTest::addColumn<QString>("folder"); // below the temporary folder
    QTest::addColumn<QString>("exec");   // "<prefix>" for the prefix as it is

    QTest::newRow("plain prefix") << "usr"
                                  << "<prefix>/bin/tacknote";
    QTest::newRow("a prefix with a blank") << "meus programas"
                                           << "\"<prefix>/bin/tacknote\"";
}

// The menu entry starts the installed program, and its action asks for a new note.
void tst_InstallLayout::desktopEntry() {
    QFETCH(QString, folder);
    QFETCH(QString, exec);
    const QString prefix = m_root.filePath(folder);
    if (prefix != m_prefix) {
        const QString failure = install(prefix);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
    const QString path =
        QDir(prefix).filePath(QStringLiteral("share/applications/tacknote.desktop"));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QString text = QString::fromUtf8(file.readAll());
    exec.replace(QStringLiteral("<prefix>"), prefix);
    QCOMPARE(valuesOf(text, QStringLiteral("Exec")),
             (QStringList{exec, exec + QStringLiteral(" --new-note")}));
    QCOMPARE(valuesOf(text, QStringLiteral("Icon")), QStringList{QStringLiteral("tacknote")});
    QCOMPARE(valuesOf(text, QStringLiteral("Name[pt_BR]")),
             (QStringList{QStringLiteral("Tacknote"), QStringLiteral("Nova Nota")}));
    QVERIFY(!text.contains(QLatin1Char('@')));

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
    QString output;
    QVERIFY2(run(validator, {path}, &output) && output.isEmpty(), qPrintable(output));
}

// The software centres' description names the menu entry installed beside it, and both
// it and the manual page pass their validators without a remark.
void tst_InstallLayout::metainfo() {
    const QString path =
        QDir(m_prefix).filePath(QStringLiteral("share/metainfo/org.example.tacknote.metainfo.xml"));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QRegularExpressionMatch launchable =
        QRegularExpression(QStringLiteral("<launchable type=\"desktop-id\">([^<]+)<"))
            .match(QString::fromUtf8(file.readAll()));
    QVERIFY(launchable.hasMatch());
    QVERIFY(QFileInfo::exists(
        QDir(m_prefix).filePath(QStringLiteral("share/applications/") + launchable.captured(1))));

    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    QString output;
    if (!man.isEmpty()) {
        const QString page =
            QDir(m_prefix).filePath(QStringLiteral("share/man/man1/tacknote.1.gz"));
        QVERIFY2(run(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("\"$0\" --warnings -E UTF-8 -l -Tutf8 -Z \"$1\" >/dev/null"),
                      man, page},
                     &output) &&
                     output.isEmpty(),
                 qPrintable(output));
    }

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (validator.isEmpty())
        QSKIP("appstreamcli (appstream) is not installed");
    QVERIFY2(run(validator,
                 {QStringLiteral("validate"), QStringLiteral("--pedantic"),
                  QStringLiteral("--no-net"), path},
                 &output) &&
                 !output.contains(QRegularExpression(QStringLiteral("^[EWIP]: "),
                                                     QRegularExpression::MultilineOption)),
             qPrintable(output));
}

QTEST_MAIN(tst_InstallLayout)
#include "tst_InstallLayout.moc"
