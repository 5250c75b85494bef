// A sending instance for the two-instance test: reads its settings from its own notes
// file as the program does, opens the send dialog for the test's note, sends it to the
// address given as the only argument and reports what the dialog showed. Exit code 0
// when the dialog ended with "Nota Enviada!", 1 otherwise, 2 when it hung.

#include "TwoInstancesNote.h"

#include "core/contacts/AddressPicker.h"
#include "core/net/NoteSender.h"
#include "core/program/DataLocation.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "gui/net/TfrmEnviaComputador.h"
#include "platform/MessageBoxes.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/QtLocaleInfo.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class NoPicker final : public AddressPicker {
public:
    QStringList pickAddresses(QWidget*) override { return {}; }
};

// Prints every box instead of showing it.
class PrintedMessageBoxes final : public MessageBoxes {
public:
    void show(Icon, const QString& title, const QString& text) override {
        shown << title + QStringLiteral(": ") + text;
        std::printf("box %s\n", qPrintable(shown.last()));
    }
    bool askYesNo(const QString& title, const QString& text) override {
        show(Icon::Question, title, text);
        return false;
    }
    QStringList shown;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s recipient\n", argv[0]);
        return 1;
    }
    const QString recipient = QString::fromLocal8Bit(argv[1]);

    DesktopSystemPaths paths;
    const DataLocation location = DataLocation::prepare(paths);
    GeneralSettings geral;
    NetworkSettings rede;
    {
        IniFile file(location.NotesFile, IniFile::Mode::Batched);
        SettingsStore::read(file, {location.ProgramDir, location.LogonUser}, geral, rede);
    }

    QtLocaleInfo locale;
    NoteSender sender(locale);
    NoPicker picker;
    PrintedMessageBoxes boxes;
    TfrmEnviaComputador dialog(geral, rede, sender, picker, boxes);

    bool hung = false;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.txtPara->setText(recipient);
        dialog.cmdEnviar->click();
    });
    QTimer::singleShot(60000, &dialog, [&] {
        hung = true;
        dialog.reject();
    });
    dialog.sendNote(0, TwoInstances::note(QStringLiteral(TACKNOTE_PROGRAM_DIR "/BIPECOMP.WAV")),
                    std::nullopt);

    std::printf("status\n%s\n", qPrintable(dialog.memStatus->toPlainText()));
    if (hung)
        return 2;
    return boxes.shown == QStringList{QStringLiteral("Aviso: Nota Enviada!")} ? 0 : 1;
}
