#include "core/settings/SettingsStore.h"

#include "core/store/IniFile.h"

namespace {

const QString General = QStringLiteral("General");
// "Enabled" lives under this spelling, every other network key under "network"; the
// file treats both as one section.
const QString NetworkUpper = QStringLiteral("Network");
const QString NetworkLower = QStringLiteral("network");

QString listKey(int index) {
    return QStringLiteral("List") + QString::number(index);
}

const QString TrustedCertPrefix = QStringLiteral("TrustedCert_");

} // namespace

GeneralSettings SettingsStore::defaultGeral(const Context& context) {
    GeneralSettings geral;
    geral.UseSounds = false;
    geral.SoundNewSticky = context.soundDir + QStringLiteral("boing.wav");
    geral.User = context.logonUser;
    geral.SoundDelSticky = context.soundDir + QStringLiteral("recycle.wav");
    geral.SoundRecSticky = context.soundDir + QStringLiteral("BIPECOMP.WAV");
    geral.AskDelete = true;
    geral.DefaultColor = 0x80FFFF;
    geral.DefaultFont = NoteFont{};
    geral.ScrollBar = false;
    geral.DarkCaption = false;
    geral.TrackPosition = 12;
    geral.ShowDate = true;
    geral.ShowTime = true;
    geral.AutoSave = true;
    geral.TimeAutoSave = 10;
    geral.NoteDaily = false;
    geral.BackupOnExit = false;
    geral.BackupPath = QString();
    return geral;
}

NetworkSettings SettingsStore::defaultRede() {
    NetworkSettings rede;
    rede.Enabled = false;
    rede.SMTPServer = QString();
    rede.SMTPPort = QStringLiteral("25");
    rede.Authtype = 0;
    rede.Email = QString();
    rede.Username = QString();
    rede.Password = QString();
    rede.Blocktype = 0;
    rede.PortTCP = QStringLiteral("7801");
    rede.SMTPSecurity = 0;
    return rede;
}

void SettingsStore::read(IniFile& file, const Context& context, GeneralSettings& geral,
                         NetworkSettings& rede) {
    const GeneralSettings dg = defaultGeral(context);
    const NetworkSettings dr = defaultRede();

    geral.UseSounds = file.readBool(General, QStringLiteral("UseSounds"), dg.UseSounds);
    geral.User = file.readString(General, QStringLiteral("User"), dg.User);
    geral.SoundNewSticky =
        file.readString(General, QStringLiteral("SoundNewSticky"), dg.SoundNewSticky);
    geral.SoundDelSticky =
        file.readString(General, QStringLiteral("SoundDelSticky"), dg.SoundDelSticky);
    geral.SoundRecSticky =
        file.readString(General, QStringLiteral("SoundRecSticky"), dg.SoundRecSticky);
    geral.AskDelete = file.readBool(General, QStringLiteral("AskDelete"), dg.AskDelete);
    geral.NoteDaily = file.readBool(General, QStringLiteral("NoteDaily"), dg.NoteDaily);
    geral.DefaultColor = file.readInteger(General, QStringLiteral("DefaultColor"), dg.DefaultColor);
    geral.BackupOnExit = file.readBool(General, QStringLiteral("BackupOnExit"), dg.BackupOnExit);
    geral.BackupPath = file.readString(General, QStringLiteral("BackupPath"), dg.BackupPath);
    geral.DefaultFont.Name =
        file.readString(General, QStringLiteral("DefaultFontName"), dg.DefaultFont.Name);
    geral.DefaultFont.Size =
        file.readInteger(General, QStringLiteral("DefaultFontSize"), dg.DefaultFont.Size);
    geral.DefaultFont.Color =
        file.readInteger(General, QStringLiteral("DefaultFontColor"), dg.DefaultFont.Color);
    geral.ScrollBar = file.readBool(General, QStringLiteral("ScrollBar"), dg.ScrollBar);
    geral.DarkCaption = file.readBool(General, QStringLiteral("DarkCaption"), dg.DarkCaption);
    geral.TrackPosition =
        file.readInteger(General, QStringLiteral("TrackPosition"), dg.TrackPosition);
    geral.ShowDate = file.readBool(General, QStringLiteral("ShowDate"), dg.ShowDate);
    geral.ShowTime = file.readBool(General, QStringLiteral("ShowTime"), dg.ShowTime);
    geral.AutoSave = file.readBool(General, QStringLiteral("AutoSave"), dg.AutoSave);
    geral.TimeAutoSave = file.readInteger(General, QStringLiteral("TimeAutoSave"), dg.TimeAutoSave);
    geral.TrayNoticeShown = file.readBool(General, QStringLiteral("TrayNoticeShown"), false);

    rede.Enabled = file.readBool(NetworkUpper, QStringLiteral("Enabled"), dr.Enabled);
    rede.SMTPServer = file.readString(NetworkLower, QStringLiteral("SMTPServer"), dr.SMTPServer);
    rede.PortTCP = file.readString(NetworkLower, QStringLiteral("PortTCP"), dr.PortTCP);
    rede.SMTPPort = file.readString(NetworkLower, QStringLiteral("SMTPPort"), dr.SMTPPort);
    rede.Username = file.readString(NetworkLower, QStringLiteral("Username"), dr.Username);
    rede.Email = file.readString(NetworkLower, QStringLiteral("Email"), dr.Email);
    rede.Password = file.readString(NetworkLower, QStringLiteral("Password"), dr.Password);
    rede.Blocktype = file.readInteger(NetworkLower, QStringLiteral("Blocktype"), dr.Blocktype);
    rede.Authtype = file.readInteger(NetworkLower, QStringLiteral("Authtype"), dr.Authtype);

    rede.BlockList.clear();
    // Entries 0 ... Listcount - 1, a missing one empty; but the list ends with the last
    // entry the file really holds, so a damaged count conjures up no empty entries that
    // every save would write back.
    const int count = file.readInteger(NetworkLower, QStringLiteral("Listcount"), 0);
    int last = -1;
    const QStringList keys = file.readSection(NetworkLower);
    for (const QString& key : keys) {
        if (!key.startsWith(QStringLiteral("List"), Qt::CaseInsensitive))
            continue;
        bool isNumber = false;
        const int index = key.mid(4).toInt(&isNumber);
        if (isNumber && index < count && index > last &&
            listKey(index).compare(key, Qt::CaseInsensitive) == 0)
            last = index;
    }
    for (int i = 0; i <= last; ++i)
        rede.BlockList.append(file.readString(NetworkLower, listKey(i), QString()));
    rede.SMTPSecurity =
        file.readInteger(NetworkLower, QStringLiteral("SMTPSecurity"), dr.SMTPSecurity);
    rede.TrustedCerts.clear();
    for (const QString& key : keys) {
        if (!key.startsWith(TrustedCertPrefix, Qt::CaseInsensitive))
            continue;
        const QString fingerprint = file.readString(NetworkLower, key, QString()).trimmed();
        if (!fingerprint.isEmpty())
            rede.TrustedCerts.insert(key.mid(TrustedCertPrefix.size()).toLower(),
                                     fingerprint.toLower());
    }

    geral.DefaultFont.Bold = file.readInteger(General, QStringLiteral("DefaultFontBold"), 0) == 1;
    geral.DefaultFont.Italic =
        file.readInteger(General, QStringLiteral("DefaultFontItalic"), 0) == 1;
}

void SettingsStore::write(IniFile& file, const GeneralSettings& geral, const NetworkSettings& rede,
                          bool portugueseMarked) {
    file.writeBool(General, QStringLiteral("UseSounds"), geral.UseSounds);
    file.writeString(General, QStringLiteral("SoundNewSticky"), geral.SoundNewSticky);
    file.writeString(General, QStringLiteral("DefaultLang"),
                     portugueseMarked ? QStringLiteral("Port") : QStringLiteral("Eng"));
    file.writeString(General, QStringLiteral("User"), geral.User);
    file.writeString(General, QStringLiteral("SoundDelSticky"), geral.SoundDelSticky);
    file.writeString(General, QStringLiteral("SoundRecSticky"), geral.SoundRecSticky);
    file.writeBool(General, QStringLiteral("AskDelete"), geral.AskDelete);
    file.writeBool(General, QStringLiteral("NoteDaily"), geral.NoteDaily);
    file.writeBool(General, QStringLiteral("BackupOnExit"), geral.BackupOnExit);
    file.writeString(General, QStringLiteral("BackupPath"), geral.BackupPath);
    file.writeInteger(General, QStringLiteral("DefaultColor"), geral.DefaultColor);
    file.writeString(General, QStringLiteral("DefaultFontName"), geral.DefaultFont.Name);
    file.writeInteger(General, QStringLiteral("DefaultFontSize"), geral.DefaultFont.Size);
    file.writeInteger(General, QStringLiteral("DefaultFontColor"), geral.DefaultFont.Color);
    file.writeBool(General, QStringLiteral("ScrollBar"), geral.ScrollBar);
    file.writeBool(General, QStringLiteral("DarkCaption"), geral.DarkCaption);
    file.writeInteger(General, QStringLiteral("TrackPosition"), geral.TrackPosition);
    file.writeBool(General, QStringLiteral("ShowDate"), geral.ShowDate);
    file.writeBool(General, QStringLiteral("ShowTime"), geral.ShowTime);
    file.writeInteger(General, QStringLiteral("DefaultFontBold"), geral.DefaultFont.Bold ? 1 : 0);
    file.writeInteger(General, QStringLiteral("DefaultFontItalic"),
                      geral.DefaultFont.Italic ? 1 : 0);
    file.writeBool(General, QStringLiteral("AutoSave"), geral.AutoSave);
    file.writeInteger(General, QStringLiteral("TimeAutoSave"), geral.TimeAutoSave);
    if (geral.TrayNoticeShown)
        file.writeBool(General, QStringLiteral("TrayNoticeShown"), true);

    file.writeBool(NetworkUpper, QStringLiteral("Enabled"), rede.Enabled);
    file.writeString(NetworkLower, QStringLiteral("PortTCP"), rede.PortTCP);
    file.writeString(NetworkLower, QStringLiteral("SMTPServer"), rede.SMTPServer);
    file.writeString(NetworkLower, QStringLiteral("SMTPPort"), rede.SMTPPort);
    file.writeString(NetworkLower, QStringLiteral("Username"), rede.Username);
    file.writeString(NetworkLower, QStringLiteral("Email"), rede.Email);
    file.writeString(NetworkLower, QStringLiteral("Password"), rede.Password);
    file.writeInteger(NetworkLower, QStringLiteral("Blocktype"), rede.Blocktype);
    file.writeInteger(NetworkLower, QStringLiteral("Authtype"), rede.Authtype);
    file.writeInteger(NetworkLower, QStringLiteral("Listcount"),
                      static_cast<int>(rede.BlockList.size()));
    for (int i = 0; i < rede.BlockList.size(); ++i)
        file.writeString(NetworkLower, listKey(i), rede.BlockList.at(i));
    file.writeInteger(NetworkLower, QStringLiteral("SMTPSecurity"), rede.SMTPSecurity);
    for (auto trusted = rede.TrustedCerts.cbegin(); trusted != rede.TrustedCerts.cend(); ++trusted)
        file.writeString(NetworkLower, TrustedCertPrefix + trusted.key(), trusted.value());
}

int SettingsStore::readNumStickies(IniFile& file) {
    return file.readInteger(General, QStringLiteral("NumStickies"), 0);
}

void SettingsStore::writeNumStickies(IniFile& file, int count) {
    file.writeInteger(General, QStringLiteral("NumStickies"), count);
}

QString SettingsStore::readDefaultLang(IniFile& file) {
    return file.readString(General, QStringLiteral("DefaultLang"), QString());
}
