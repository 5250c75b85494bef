// The INI layer against a plain model of its rules: any bytes as a file, then reads,
// writes, deletions and erasures in any order, a flush, and a fresh read of the result.
// Every value read must be the model's, and the file written must be byte for byte the
// model's rewrite (or, when nothing changed, the file as it was).

#include "core/base/TacknoteError.h"
#include "core/store/IniFile.h"
#include "core/store/Windows1252.h"
#include "fuzz/FuzzEnvironment.h"
#include "fuzz/IniModel.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

QString text(FuzzedDataProvider& data, size_t maxLength) {
    const std::string bytes = data.ConsumeRandomLengthString(maxLength);
    return Windows1252::decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

// A name the program could write: taken from the file (in another letter case, perhaps)
// or made of letters and digits.
QString pickName(FuzzedDataProvider& data, const QStringList& known) {
    const int choice = data.ConsumeIntegralInRange(0, 3);
    if (choice < 2 && !known.isEmpty()) {
        QString name = known.at(data.ConsumeIntegralInRange<qsizetype>(0, known.size() - 1));
        return choice == 0 ? name : name.toUpper();
    }
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name;
    const int length = data.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < length; ++i)
        name += QLatin1Char(letters[data.ConsumeIntegralInRange<size_t>(0, sizeof letters - 2)]);
    return name;
}

// Every read of the file agrees with the model (within the first 64 sections and keys
// of each, so that a file of thousands of tiny sections still takes milliseconds).
void compareReads(IniFile& file, const IniModel& model, const QStringList& extraSections,
                  const QStringList& extraKeys) {
    const QStringList sections = model.sectionNames().mid(0, 64) + extraSections;
    for (const QString& section : sections) {
        if (file.sectionExists(section) != model.hasSection(section))
            Fuzz::fail("sectionExists", Fuzz::visible(section));
        const QStringList keys = model.keys(section);
        if (file.readSection(section) != keys)
            Fuzz::fail("readSection", Fuzz::visible(section) + QStringLiteral(": ") +
                                          file.readSection(section).join(QLatin1Char('|')) +
                                          QStringLiteral(" instead of ") +
                                          keys.join(QLatin1Char('|')));
        for (const QString& key : keys.mid(0, 64) + extraKeys) {
            const std::optional<QString> stored = model.stored(section, key);
            const QString expected =
                stored ? IniModel::readBack(*stored) : QStringLiteral("<default>");
            const QString got = file.readString(section, key, QStringLiteral("<default>"));
            if (got != expected)
                Fuzz::fail("readString", Fuzz::visible(section) + QLatin1Char('/') +
                                             Fuzz::visible(key) + QStringLiteral(": ") +
                                             Fuzz::visible(got) + QStringLiteral(" instead of ") +
                                             Fuzz::visible(expected));
            if (file.valueExists(section, key) != stored.has_value())
                Fuzz::fail("valueExists",
                           Fuzz::visible(section) + QLatin1Char('/') + Fuzz::visible(key));
            const std::optional<int> number =
                stored ? IniModel::integer(IniModel::readBack(*stored)) : std::nullopt;
            if (file.readInteger(section, key, -77) != number.value_or(-77))
                Fuzz::fail("readInteger", Fuzz::visible(expected));
            if (file.readBool(section, key, true) != (number ? *number != 0 : true))
                Fuzz::fail("readBool", Fuzz::visible(expected));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string content = data.ConsumeRandomLengthString(size);
    const QByteArray original(content.data(), qsizetype(content.size()));
    const QString path = Fuzz::scratchFile(QStringLiteral("fuzz.ini"));
    Fuzz::writeFile(path, original);

    IniModel model(original);
    QStringList extraSections{QStringLiteral("General"), QStringLiteral("Stick0")};
    QStringList extraKeys{QStringLiteral("NumStickies"), QStringLiteral("note")};
    bool changed = false;
    {
        IniFile file(path, IniFile::Mode::Batched);
        compareReads(file, model, extraSections, extraKeys);
        for (int step = 0; step < 48 && data.remaining_bytes() > 0; ++step) {
            const QString section = pickName(data, model.sectionNames());
            const QString key = pickName(data, model.keys(section));
            switch (data.ConsumeIntegralInRange(0, 5)) {
            case 0:
            case 1: {
                const QString value = text(data, 3000);
                file.writeString(section, key, value);
                changed = model.write(section, key, value) || changed;
                break;
            }
            case 2: {
                const int value = data.ConsumeIntegral<int>();
                file.writeInteger(section, key, value);
                changed = model.write(section, key, QString::number(value)) || changed;
                break;
            }
            case 3:
                file.deleteKey(section, key);
                changed = model.deleteKey(section, key) || changed;
                break;
            case 4:
                file.eraseSection(section);
                changed = model.eraseSection(section) || changed;
                break;
            default:
                compareReads(file, model, {section}, {key});
                break;
            }
            extraSections << section;
            extraKeys << key;
        }
        try {
            file.flush();
        } catch (const TacknoteError& error) {
            Fuzz::fail("flush failed", error.message());
        }
    }

    const QByteArray written = Fuzz::readFile(path);
    const QByteArray expected = changed ? model.serialize() : original;
    if (written != expected)
        Fuzz::fail("bytes written", Fuzz::visible(written) + QStringLiteral("\ninstead of\n") +
                                        Fuzz::visible(expected));
    IniFile reread(path, IniFile::Mode::Batched);
    compareReads(reread, IniModel(written), extraSections, extraKeys);
    return 0;
}
