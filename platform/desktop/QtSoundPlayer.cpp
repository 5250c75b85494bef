#include "platform/desktop/QtSoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <algorithm>

namespace {

// Chunks examined before the sound data; real files have a handful.
constexpr int MaxChunks = 64;

quint32 le32(const char* bytes) {
    return qFromLittleEndian<quint32>(bytes);
}

quint16 le16(const char* bytes) {
    return qFromLittleEndian<quint16>(bytes);
}

} // namespace

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}

std::optional<qint64> QtSoundPlayer::waveLengthMs(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > MaxWaveFileBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    quint32 sampleRate = 0;
    quint32 blockAlign = 0;
    for (int chunk = 0; chunk < MaxChunks; ++chunk) {
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return std::nullopt;
        const QByteArray id = header.left(4);
        const qint64 size = le32(header.constData() + 4);
        if (id == "fmt ") {
            const QByteArray fmt = file.read(std::min<qint64>(size, 40));
            if (fmt.size() < 16)
                return std::nullopt;
            quint16 format = le16(fmt.constData());
            const quint16 channels = le16(fmt.constData() + 2);
            const quint16 bits = le16(fmt.constData() + 14);
            // The extensible form names its real format in the first two bytes of its
            // sub-format.
            if (format == 0xFFFE)
                format = fmt.size() >= 26 ? le16(fmt.constData() + 24) : 0;
            // What Qt decodes: 8-bit unsigned, 16- and 32-bit signed integers, 32-bit
            // floats. Anything else (24-bit samples, compressed sound) would play nothing.
            const bool decodable = (format == 1 && (bits == 8 || bits == 16 || bits == 32)) ||
                                   (format == 3 && bits == 32);
            if (!decodable || channels == 0 || channels > 8)
                return std::nullopt;
            sampleRate = le32(fmt.constData() + 4);
            blockAlign = channels * (bits / 8);
            if (sampleRate == 0)
                return std::nullopt;
            if (!file.seek(file.pos() - fmt.size() + size + (size & 1)))
                return std::nullopt;
        } else if (id == "data") {
            if (blockAlign == 0)
                return std::nullopt; // sound data before its format
            // A writer that never filled in the size leaves it too large: count only
            // what the file holds.
            const qint64 bytes = std::min(size, file.size() - file.pos());
            return bytes / blockAlign * 1000 / sampleRate;
        } else if (!file.seek(file.pos() + size + (size & 1))) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QSoundEffect* QtSoundPlayer::effectFor(QSoundEffect*& effect, const QString& waveFile) {
    if (!effect) {
        effect = new QSoundEffect(this);
        QSoundEffect* created = effect;
        connect(created, &QSoundEffect::playingChanged, this, [this, created] {
            if (!created->isPlaying())
                Q_EMIT finishedPlaying();
        });
        // A background sound is decoded after play() has returned: one that the header
        // promised but Qt cannot decode gives the beep instead.
        if (&effect == &m_effect) {
            connect(created, &QSoundEffect::statusChanged, this, [this, created] {
                if (created->status() == QSoundEffect::Error)
                    beep();
            });
        }
    }
    effect->stop();
    effect->setSource(QUrl::fromLocalFile(QFileInfo(waveFile).absoluteFilePath()));
    effect->setLoopCount(1);
    return effect;
}

void QtSoundPlayer::play(const QString& waveFile) {
    if (!waveLengthMs(waveFile)) {
        beep();
        return;
    }
    // The same file again is not decoded again: it failed before, so it beeps again.
    if (m_effect && m_effect->status() == QSoundEffect::Error &&
        m_effect->source() == QUrl::fromLocalFile(QFileInfo(waveFile).absoluteFilePath())) {
        beep();
        return;
    }
    effectFor(m_effect, waveFile)->play();
}

bool QtSoundPlayer::playSync(const QString& waveFile) {
    const std::optional<qint64> length = waveLengthMs(waveFile);
    if (!length)
        return false;
    QSoundEffect* effect = effectFor(m_syncEffect, waveFile);

    // Waits for the end of the sound, an error, or the deadline, whichever comes first.
    // The user's input waits too, as for any synchronous sound, but the window keeps
    // painting and timers and sockets keep running. A sound cut off by the deadline
    // goes on playing by itself until it ends or the next one replaces it.
    QEventLoop loop;
    bool failed = false;
    connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect->isPlaying())
            loop.quit();
    });
    connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect->status() == QSoundEffect::Error) {
            failed = true;
            loop.quit();
        }
    });
    QTimer::singleShot(int(std::min<qint64>(*length, MaxSyncWaitMs)) + SyncMarginMs, &loop,
                       &QEventLoop::quit);
    effect->play();
    if (effect->status() == QSoundEffect::Error)
        return false;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return !failed;
}

void QtSoundPlayer::beep() {
    QApplication::beep();
}

QString QtSoundPlayer::soundFolder() const {
    const QString desktopSounds = QStringLiteral("/usr/share/sounds");
    return QFileInfo(desktopSounds).isDir() ? desktopSounds : QDir::homePath();
}
