#pragma once

#include <QWidget>

class LinkOpener;
class MessageBoxes;
class QTextBrowser;

// The program's own window for its help and its product page: shipped HTML pages read
// from local files, so they open without a browser. Links between the shipped pages
// stay in the window; any other address goes to the desktop. Created once and reused.
class TfrmAjuda : public QWidget {
    Q_OBJECT
public:
    TfrmAjuda(LinkOpener& links, MessageBoxes& messages, QWidget* parent = nullptr);

    // Shows the page in the window, at the place topic when one is given, and brings the
    // window to the front; a missing page is reported and leaves the window as it was.
    // Opened while a dialog waits for its answer, the window comes above that dialog and
    // answers the user as the dialog does.
    void showPage(const QString& file, const QString& topic = QString());
    // A shipped page goes to the window, any other address to the desktop.
    void open(const QUrl& address);
    // The page shown now.
    QUrl page() const;

    // A click on a link of the page.
    void memAjudaAnchorClicked(const QUrl& link);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    // Shows the window and brings it to the front, above the dialog open now if any.
    void present();
    // Makes the window belong to the dialog open now, if any.
    void followDialog();

    LinkOpener& m_links;
    MessageBoxes& m_messages;
    QTextBrowser* memAjuda = nullptr;
};
