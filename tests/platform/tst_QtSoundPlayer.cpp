#include "platform/desktop/QtSoundPlayer.h"

#include "../support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// The sounds as they are shipped, beside the built program.
const QString DataDir = QStringLiteral(TACKNOTE_PROGRAM_DIR);

QByteArray le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, quint32 declared = 0) {
    QByteArray bytes = id + le32(declared ? declared : quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray fmt(quint16 format, quint16 channels, quint32 rate, quint16 bits) {
    const quint16 align = channels * (bits / 8);
    return chunk("fmt ", le16(format) + le16(channels) + le32(rate) + le32(rate * align) +
                             le16(align) + le16(bits));
}

// The extensible form: the real format in the first two bytes of its sub-format.
QByteArray extensible(quint16 format, quint16 bits) {
    const quint16 align = bits / 8;
    return chunk("fmt ", le16(0xFFFE) + le16(1) + le32(8000) + le32(8000 * align) + le16(align) +
                             le16(bits) + le16(22) + le16(bits) + le32(0) + le16(format) +
                             QByteArray(14, '\x10'));
}

QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "WAVE" + chunks;
}

} // namespace

class tst_QtSoundPlayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void waveLength_data();
    void waveLength();
    void unreadableFile();
    void syncPlayWithoutAudioDevice_data();
    void syncPlayWithoutAudioDevice();

private:
    QTemporaryDir m_dir;
};

void tst_QtSoundPlayer::initTestCase() {
    // No sound server answers here, as on a machine without an audio device: Qt then
    // reports neither an error nor the end of a sound.
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("no-such-server")));
    QVERIFY(m_dir.isValid());
}

void tst_QtSoundPlayer::waveLength_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("length"); // -1: refused

    const QByteArray second16 = QByteArray(2 * 22050, '\1');
    QTest::newRow("one second, 16-bit mono")
        << riff(fmt(1, 1, 22050, 16) + chunk("data", second16)) << qint64(1000);
    QTest::newRow("half a second, 8-bit stereo")
        << riff(fmt(1, 2, 8000, 8) + chunk("data", QByteArray(8000, '\1'))) << qint64(500);
    QTest::newRow("float samples")
        << riff(fmt(3, 1, 1000, 32) + chunk("data", QByteArray(4 * 250, '\0'))) << qint64(250);
    QTest::newRow("other chunks before the sound")
        << riff(chunk("LIST", "INFOabc") + fmt(1, 1, 22050, 16) + chunk("fact", le32(1)) +
                chunk("data", second16))
        << qint64(1000);
    QTest::newRow("a data size beyond the file counts what is there")
        << riff(fmt(1, 1, 1000, 16) + chunk("data", QByteArray(2 * 100, '\0'), 0x7FFFFFF0))
        << qint64(100);
    QTest::newRow("compressed sound")
        << riff(fmt(0x55, 1, 22050, 16) + chunk("data", second16)) << qint64(-1);
    // Qt would decode nothing of these and play silence: the beep plays instead.
    QTest::newRow("24-bit samples")
        << riff(fmt(1, 1, 8000, 24) + chunk("data", QByteArray(3 * 800, '\1'))) << qint64(-1);
    QTest::newRow("64-bit float samples")
        << riff(fmt(3, 1, 8000, 64) + chunk("data", QByteArray(8 * 800, '\0'))) << qint64(-1);
    QTest::newRow("extensible form of compressed sound")
        << riff(extensible(0x55, 16) + chunk("data", QByteArray(2 * 800, '\1'))) << qint64(-1);
    QTest::newRow("extensible form of 16-bit samples")
        << riff(extensible(1, 16) + chunk("data", QByteArray(2 * 800, '\1'))) << qint64(100);
    QTest::newRow("no channels") << riff(fmt(1, 0, 22050, 16) + chunk("data", second16))
                                 << qint64(-1);
    QTest::newRow("sound before its format")
        << riff(chunk("data", second16) + fmt(1, 1, 22050, 16)) << qint64(-1);
    QTest::newRow("no sound data") << riff(fmt(1, 1, 22050, 16)) << qint64(-1);
    QTest::newRow("cut inside the format") << riff(fmt(1, 1, 22050, 16)).left(30) << qint64(-1);
    QTest::newRow("not a wave file") << QByteArray("ID3\4\0\0\0\0\0\0 not a wave") << qint64(-1);
    QTest::newRow("empty file") << QByteArray() << qint64(-1);
}

void tst_QtSoundPlayer::waveLength() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, length);
    const QString path = m_dir.filePath(QStringLiteral("sound.wav"));
    writeBytes(path, bytes);
    const std::optional<qint64> result = QtSoundPlayer::waveLengthMs(path);
    QCOMPARE(result.value_or(-1), length);
}

void tst_QtSoundPlayer::unreadableFile() {
    QCOMPARE(QtSoundPlayer::waveLengthMs(QString()), std::nullopt);
    QCOMPARE(QtSoundPlayer::waveLengthMs(m_dir.filePath("missing.wav")), std::nullopt);
    QCOMPARE(QtSoundPlayer::waveLengthMs(m_dir.path()), std::nullopt);

    QtSoundPlayer player;
    QVERIFY(!player.playSync(m_dir.filePath("missing.wav")));
    QVERIFY(!player.playSync(QString()));
    const QString text = m_dir.filePath(QStringLiteral("notes.wav"));
    writeBytes(text, "just some text, named like a sound");
    QVERIFY(!player.playSync(text));
}

void tst_QtSoundPlayer::syncPlayWithoutAudioDevice_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("boing.wav") << DataDir + "/boing.wav";
    QTest::newRow("BIPECOMP.WAV") << DataDir + "/BIPECOMP.WAV";
}

// The wait ends by itself: never much later than the sound's length plus the margin,
// however slowly this machine runs (the bound is generous so a busy machine passes).
void tst_QtSoundPlayer::syncPlayWithoutAudioDevice() {
    QFETCH(QString, file);
    const std::optional<qint64> length = QtSoundPlayer::waveLengthMs(file);
    QVERIFY(length);
    QVERIFY(*length > 0 && *length < 1000);

    QtSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(player.playSync(file));
    QVERIFY2(clock.elapsed() < *length + QtSoundPlayer::SyncMarginMs + 3000,
             qPrintable(QStringLiteral("waited %1 ms").arg(clock.elapsed())));
}

QTEST_MAIN(tst_QtSoundPlayer)
#include "tst_QtSoundPlayer.moc"
