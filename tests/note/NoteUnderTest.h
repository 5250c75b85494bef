#pragma once

#include "core/notes/Note.h"
#include "gui/note/NoteHost.h"
#include "gui/note/NoteMessage.h"
#include "gui/note/TfPostIt.h"
#include "tests/support/RecordingWindowHints.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <utility>

// A note window on its own, with stand-ins for the program around it: the host records
// what the note asks of the program, the sink the messages it posts to the main window.
struct NoteUnderTest {
    // Records what the note asked of the program around it.
    class Host final : public NoteHost {
    public:
        bool networkEnabled() const override { return network; }
        bool editCaption(QString& caption) override {
            editedCaption = caption;
            if (!confirmTitle)
                return false;
            caption = newTitle;
            return true;
        }
        void configureNote(TfPostIt&, int pageIndex, int helpContext) override {
            calls << QStringLiteral("configure %1 %2").arg(pageIndex).arg(helpContext);
        }
        void sendNote(TfPostIt& note, bool reply) override {
            calls << QStringLiteral("send %1 [%2]")
                         .arg(note.Tag)
                         .arg(reply ? note.replyAddress() : QString());
        }
        void mailNote(const QString& subject, const QString& text) override {
            calls << QStringLiteral("mail [%1] [%2]").arg(subject, text);
        }
        void openUrl(const QUrl& url) override { opened << url; }
        void printNote(const QString& caption, const QString&, const QFont&) override {
            calls << QStringLiteral("print [%1]").arg(caption);
        }
        void findNote() override { calls << QStringLiteral("find"); }

        bool network = true;
        bool confirmTitle = false;
        QString newTitle;
        QString editedCaption;
        QStringList calls;
        QList<QUrl> opened;
    };

    // Stands in for the main window: collects the messages the note posts.
    class Sink final : public QObject {
    public:
        bool event(QEvent* event) override {
            if (event->type() == NoteMessage::WM_DELETENOTE)
                received << QStringLiteral("delete %1")
                                .arg(static_cast<NoteMessage*>(event)->noteNumber());
            else if (event->type() == NoteMessage::WM_STOPALARM)
                received << QStringLiteral("stop");
            else
                return QObject::event(event);
            return true;
        }
        QStringList take() {
            QCoreApplication::sendPostedEvents(this);
            return std::exchange(received, {});
        }
        QStringList received;
    };

    NoteUnderTest() : window(std::make_unique<TfPostIt>(model, &host, &hints)) {
        window->Tag = 4;
        window->messageTarget = &sink;
    }
    template <typename T> T* part(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QLabel* lblCaption() const { return part<QLabel>("lblCaption"); }
    QPlainTextEdit* memPostit() const { return part<QPlainTextEdit>("memPostit"); }
    QWidget* pnlRodape() const { return part<QWidget>("pnlRodape"); }

    // A note as a window shows it before any record reached it.
    static NoteRecord blankRecord() {
        NoteRecord record;
        record.visible = false;
        record.weekdays.fill(false);
        record.RememberNo = 0;
        record.TrackPosition = 0;
        record.posx = record.posy = 0;
        record.Width = 170;
        record.Height = 120;
        const NoteFont font;
        record.FontName = font.Name;
        record.FontSize = font.Size;
        record.FontColor = font.Color;
        record.FontBold = font.Bold;
        record.FontItalic = font.Italic;
        return record;
    }

    Note model{blankRecord()};
    Host host;
    Sink sink;
    RecordingWindowHints hints;
    std::unique_ptr<TfPostIt> window;
};
