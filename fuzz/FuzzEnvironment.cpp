#include "fuzz/FuzzEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir& scratchFolder() {
    static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/tacknote-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/tacknote-fuzz-XXXXXX"));
    return folder;
}

} // namespace

void FuzzEnvironment::init(int* argc, char*** argv) {
    ::setenv("TZ", "UTC", 1);
    static int count = *argc;
    static QCoreApplication app(count, *argv);
    if (!scratchFolder().isValid())
        fail("no scratch folder", scratchFolder().errorString());
}

QString FuzzEnvironment::scratchFile(const QString& name) {
    return scratchFolder().filePath(name);
}

void FuzzEnvironment::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file", path);
}

QByteArray FuzzEnvironment::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read a scratch file", path);
    return file.readAll();
}

void FuzzEnvironment::fail(const char* rule, const QString& detail) {
    std::fprintf(stderr, "\n*** broken rule: %s\n%s\n", rule, qPrintable(detail));
    std::fflush(stderr);
    // The abort skips the folder's destructor; the input that broke the rule is kept by
    // the fuzzer itself.
    scratchFolder().remove();
    std::abort();
}

// Every target's set-up: libFuzzer calls this once before the first input. It lives
// here, in the object file every target links for fail() and the scratch files.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzEnvironment::init(argc, argv);
    return 0;
}


QString FuzzEnvironment::visible(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('\\'))
            shown += c;
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

QString FuzzEnvironment::visible(const QByteArray& bytes) {
    QString shown;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0x20 && b < 0x7F && b != '\\')
            shown += QLatin1Char(char(b));
        else
            shown += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + shown + QLatin1Char('"');
}
