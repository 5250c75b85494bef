#include "core/settings/SettingsStore.h"

#include "core/store/IniFile.h"

#include <tuple>
#include <type_traits>

namespace {

using Context = SettingsStore::Context;

// How a switch is stored: always as 1 or 0. Numbers are stored in decimal, texts as
// IniFile stores them.
enum class SwitchForm {
    Plain,             // read as on for any number but 0
    OnlyOneIsOn,       // read as on for 1 only
    WrittenOnlyWhenOn, // as Plain, but written only while on, so never taken back
};

// A text's default: a fixed text, a file among the shipped sounds, or the logon user.
struct TextDefault {
    enum class Source { Fixed, ShippedSound, LogonUser };
    Source source = Source::Fixed;
    const char* text = nullptr; // none: empty
};
constexpr TextDefault NoText{};
constexpr TextDefault FixedText(const char* text) {
    return {TextDefault::Source::Fixed, text};
}
constexpr TextDefault ShippedSound(const char* file) {
    return {TextDefault::Source::ShippedSound, file};
}
constexpr TextDefault LogonUser{TextDefault::Source::LogonUser};

// A setting held in a field of Record under one key. Its default is a T for a switch or a
// number, a TextDefault for a text; form applies to switches only.
template <typename Record, typename T, typename D> struct Setting {
    static_assert(std::is_same_v<T, D> ||
                  (std::is_same_v<T, QString> && std::is_same_v<D, TextDefault>));
    const char* section;
    const char* key;
    T Record::*field;
    D def;
    SwitchForm form = SwitchForm::Plain;
};
template <typename R, typename T, typename D>
Setting(const char*, const char*, T R::*, D, SwitchForm = SwitchForm::Plain) -> Setting<R, T, D>;

// A part of the default font (GeneralSettings::DefaultFont) under one key; its default is
// NoteFont's own.
template <typename T> struct FontSetting {
    const char* section;
    const char* key;
    T NoteFont::*field;
    SwitchForm form = SwitchForm::Plain;
};
template <typename T>
FontSetting(const char*, const char*, T NoteFont::*, SwitchForm = SwitchForm::Plain)
    -> FontSetting<T>;

// The language item checked when the settings were saved: no field of the records,
// written at every save and read on its own (SettingsStore::readDefaultLang).
struct LanguageSetting {
    const char* section;
    const char* key;
    const char* portuguese; // the Portuguese item is checked
    const char* other;
};

// NetworkSettings::BlockList: the number of entries under countKey, then entry i under
// entryPrefix + i.
struct BlockListSetting {
    const char* section;
    const char* countKey;
    const char* entryPrefix;
};

// NetworkSettings::TrustedCerts: the fingerprint for "server:port" under prefix +
// "server:port", one key for each server.
struct TrustedCertsSetting {
    const char* section;
    const char* prefix;
};

constexpr const char* General = "General";
// "Enabled" lives under this spelling, every other network key under "network"; the
// file treats both as one section.
constexpr const char* NetworkUpper = "Network";
constexpr const char* NetworkLower = "network";

using G = GeneralSettings;
using N = NetworkSettings;

// Every setting of the notes file, in the order it is written. A new record starts at
// these defaults, and reading gives them for a key that is missing or unreadable.
constexpr std::tuple Settings{
    Setting{General, "UseSounds", &G::UseSounds, false},
    Setting{General, "SoundNewSticky", &G::SoundNewSticky, ShippedSound("boing.wav")},
    LanguageSetting{General, "DefaultLang", "Port", "Eng"},
    Setting{General, "User", &G::User, LogonUser},
    Setting{General, "SoundDelSticky", &G::SoundDelSticky, ShippedSound("recycle.wav")},
    Setting{General, "SoundRecSticky", &G::SoundRecSticky, ShippedSound("BIPECOMP.WAV")},
    Setting{General, "AskDelete", &G::AskDelete, true},
    Setting{General, "NoteDaily", &G::NoteDaily, false},
    Setting{General, "BackupOnExit", &G::BackupOnExit, false},
    Setting{General, "BackupPath", &G::BackupPath, NoText},
    Setting{General, "DefaultColor", &G::DefaultColor, 0x80FFFF},
    FontSetting{General, "DefaultFontName", &NoteFont::Name},
    FontSetting{General, "DefaultFontSize", &NoteFont::Size},
    FontSetting{General, "DefaultFontColor", &NoteFont::Color},
    Setting{General, "ScrollBar", &G::ScrollBar, false},
    Setting{General, "DarkCaption", &G::DarkCaption, false},
    Setting{General, "TrackPosition", &G::TrackPosition, 12},
    Setting{General, "ShowDate", &G::ShowDate, true},
    Setting{General, "ShowTime", &G::ShowTime, true},
    FontSetting{General, "DefaultFontBold", &NoteFont::Bold, SwitchForm::OnlyOneIsOn},
    FontSetting{General, "DefaultFontItalic", &NoteFont::Italic, SwitchForm::OnlyOneIsOn},
    Setting{General, "AutoSave", &G::AutoSave, true},
    Setting{General, "TimeAutoSave", &G::TimeAutoSave, 10},
    Setting{General, "TrayNoticeShown", &G::TrayNoticeShown, false, SwitchForm::WrittenOnlyWhenOn},

    Setting{NetworkUpper, "Enabled", &N::Enabled, false},
    Setting{NetworkLower, "PortTCP", &N::PortTCP, FixedText("7801")},
    Setting{NetworkLower, "SMTPServer", &N::SMTPServer, NoText},
    Setting{NetworkLower, "SMTPPort", &N::SMTPPort, FixedText("25")},
    Setting{NetworkLower, "Username", &N::Username, NoText},
    Setting{NetworkLower, "Email", &N::Email, NoText},
    Setting{NetworkLower, "Password", &N::Password, NoText},
    Setting{NetworkLower, "Blocktype", &N::Blocktype, 0},
    Setting{NetworkLower, "Authtype", &N::Authtype, 0},
    BlockListSetting{NetworkLower, "Listcount", "List"},
    Setting{NetworkLower, "SMTPSecurity", &N::SMTPSecurity, 0},
    TrustedCertsSetting{NetworkLower, "TrustedCert_"},
};

// The number of notes, written after them (NotesFile).
constexpr const char* NumStickiesKey = "NumStickies";

// Calls visit for every entry of Settings, in their order.
template <typename Visitor> void forEachSetting(const Visitor& visit) {
    std::apply([&](const auto&... setting) { (visit(setting), ...); }, Settings);
}

// Without a context (a new record) the defaults that need one are empty.
QString defaultValue(const TextDefault& def, const Context* context) {
    switch (def.source) {
    case TextDefault::Source::Fixed:
        return def.text ? QString(QLatin1String(def.text)) : QString();
    case TextDefault::Source::ShippedSound:
        return context ? context->soundDir + QLatin1String(def.text) : QString();
    case TextDefault::Source::LogonUser:
        return context ? context->logonUser : QString();
    }
    return QString();
}
template <typename T> T defaultValue(T def, const Context*) {
    return def;
}

bool readValue(IniFile& file, const char* section, const char* key, SwitchForm form, bool def) {
    if (form == SwitchForm::OnlyOneIsOn)
        return file.readInteger(QLatin1String(section), QLatin1String(key), def ? 1 : 0) == 1;
    return file.readBool(QLatin1String(section), QLatin1String(key), def);
}
int readValue(IniFile& file, const char* section, const char* key, SwitchForm, int def) {
    return file.readInteger(QLatin1String(section), QLatin1String(key), def);
}
QString readValue(IniFile& file, const char* section, const char* key, SwitchForm,
                  const QString& def) {
    return file.readString(QLatin1String(section), QLatin1String(key), def);
}

void writeValue(IniFile& file, const char* section, const char* key, SwitchForm form, bool value) {
    if (value || form != SwitchForm::WrittenOnlyWhenOn)
        file.writeBool(QLatin1String(section), QLatin1String(key), value);
}
void writeValue(IniFile& file, const char* section, const char* key, SwitchForm, int value) {
    file.writeInteger(QLatin1String(section), QLatin1String(key), value);
}
void writeValue(IniFile& file, const char* section, const char* key, SwitchForm,
                const QString& value) {
    file.writeString(QLatin1String(section), QLatin1String(key), value);
}

QString blockListKey(const BlockListSetting& list, int index) {
    return QLatin1String(list.entryPrefix) + QString::number(index);
}

// Sets the fields of Record to their defaults.
template <typename Record> struct DefaultsSetter {
    Record& record;
    const Context* context;

    template <typename T, typename D> void operator()(const Setting<Record, T, D>& setting) const {
        record.*setting.field = defaultValue(setting.def, context);
    }
    template <typename T> void operator()(const FontSetting<T>& setting) const {
        if constexpr (std::is_same_v<Record, GeneralSettings>)
            record.DefaultFont.*setting.field = NoteFont{}.*setting.field;
    }
    void operator()(const BlockListSetting&) const {
        if constexpr (std::is_same_v<Record, NetworkSettings>)
            record.BlockList.clear();
    }
    void operator()(const TrustedCertsSetting&) const {
        if constexpr (std::is_same_v<Record, NetworkSettings>)
            record.TrustedCerts.clear();
    }
    // The other record's settings, and the language.
    template <typename Entry> void operator()(const Entry&) const {}
};

template <typename Record> void setDefaults(Record& record, const Context* context) {
    forEachSetting(DefaultsSetter<Record>{record, context});
}

// Reads every setting into its record; a missing or unreadable value gives the default.
struct SettingsReader {
    IniFile& file;
    const Context& context;
    std::tuple<GeneralSettings&, NetworkSettings&> records;

    template <typename R, typename T, typename D>
    void operator()(const Setting<R, T, D>& setting) const {
        T& value = std::get<R&>(records).*setting.field;
        value = readValue(file, setting.section, setting.key, setting.form,
                          defaultValue(setting.def, &context));
    }
    template <typename T> void operator()(const FontSetting<T>& setting) const {
        T& value = std::get<GeneralSettings&>(records).DefaultFont.*setting.field;
        value =
            readValue(file, setting.section, setting.key, setting.form, NoteFont{}.*setting.field);
    }
    void operator()(const LanguageSetting&) const {}
    void operator()(const BlockListSetting& list) const {
        QStringList& entries = std::get<NetworkSettings&>(records).BlockList;
        const QString section = QLatin1String(list.section);
        const QString prefix = QLatin1String(list.entryPrefix);
        entries.clear();
        // Entries 0 ... count - 1, a missing one empty; but the list ends with the last
        // entry the file really holds, so a damaged count conjures up no empty entries that
        // every save would write back.
        const int count = file.readInteger(section, QLatin1String(list.countKey), 0);
        int last = -1;
        for (const QString& key : file.readSection(section)) {
            if (!key.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            bool isNumber = false;
            const int index = key.mid(prefix.size()).toInt(&isNumber);
            if (isNumber && index < count && index > last &&
                blockListKey(list, index).compare(key, Qt::CaseInsensitive) == 0)
                last = index;
        }
        for (int i = 0; i <= last; ++i)
            entries.append(file.readString(section, blockListKey(list, i), QString()));
    }
    void operator()(const TrustedCertsSetting& trusted) const {
        QMap<QString, QString>& certs = std::get<NetworkSettings&>(records).TrustedCerts;
        const QString section = QLatin1String(trusted.section);
        const QString prefix = QLatin1String(trusted.prefix);
        certs.clear();
        for (const QString& key : file.readSection(section)) {
            if (!key.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const QString fingerprint = file.readString(section, key, QString()).trimmed();
            if (!fingerprint.isEmpty())
                certs.insert(key.mid(prefix.size()).toLower(), fingerprint.toLower());
        }
    }
};

// Writes every setting from its record.
struct SettingsWriter {
    IniFile& file;
    std::tuple<const GeneralSettings&, const NetworkSettings&> records;
    bool portugueseMarked;

    template <typename R, typename T, typename D>
    void operator()(const Setting<R, T, D>& setting) const {
        writeValue(file, setting.section, setting.key, setting.form,
                   std::get<const R&>(records).*setting.field);
    }
    template <typename T> void operator()(const FontSetting<T>& setting) const {
        writeValue(file, setting.section, setting.key, setting.form,
                   std::get<const GeneralSettings&>(records).DefaultFont.*setting.field);
    }
    void operator()(const LanguageSetting& language) const {
        file.writeString(QLatin1String(language.section), QLatin1String(language.key),
                         QLatin1String(portugueseMarked ? language.portuguese : language.other));
    }
    void operator()(const BlockListSetting& list) const {
        const QStringList& entries = std::get<const NetworkSettings&>(records).BlockList;
        const QString section = QLatin1String(list.section);
        file.writeInteger(section, QLatin1String(list.countKey), static_cast<int>(entries.size()));
        for (int i = 0; i < entries.size(); ++i)
            file.writeString(section, blockListKey(list, i), entries.at(i));
    }
    void operator()(const TrustedCertsSetting& trusted) const {
        const QMap<QString, QString>& certs =
            std::get<const NetworkSettings&>(records).TrustedCerts;
        for (auto cert = certs.cbegin(); cert != certs.cend(); ++cert)
            file.writeString(QLatin1String(trusted.section),
                             QLatin1String(trusted.prefix) + cert.key(), cert.value());
    }
};

} // namespace

GeneralSettings::GeneralSettings() {
    setDefaults(*this, nullptr);
}

NetworkSettings::NetworkSettings() {
    setDefaults(*this, nullptr);
}

GeneralSettings SettingsStore::defaultGeral(const Context& context) {
    GeneralSettings geral;
    setDefaults(geral, &context);
    return geral;
}

NetworkSettings SettingsStore::defaultRede() {
    return NetworkSettings();
}

void SettingsStore::read(IniFile& file, const Context& context, GeneralSettings& geral,
                         NetworkSettings& rede) {
    forEachSetting(SettingsReader{file, context, {geral, rede}});
}

void SettingsStore::write(IniFile& file, const GeneralSettings& geral, const NetworkSettings& rede,
                          bool portugueseMarked) {
    forEachSetting(SettingsWriter{file, {geral, rede}, portugueseMarked});
}

int SettingsStore::readNumStickies(IniFile& file) {
    return file.readInteger(QLatin1String(General), QLatin1String(NumStickiesKey), 0);
}

void SettingsStore::writeNumStickies(IniFile& file, int count) {
    file.writeInteger(QLatin1String(General), QLatin1String(NumStickiesKey), count);
}

QString SettingsStore::readDefaultLang(IniFile& file) {
    const LanguageSetting& language = std::get<LanguageSetting>(Settings);
    return file.readString(QLatin1String(language.section), QLatin1String(language.key), QString());
}
