#pragma once

#include <QIcon>

class QPainter;

// The pictures of the address book's tool bar, drawn in code in one style: a contact
// card in blue with a coloured sign on it, every shape filled in a middle tone and
// outlined in a darker one, so they read on light and dark tool bars alike.
class AddressBookIcons {
public:
    static QIcon newContact();    // the card with a green plus
    static QIcon editContact();   // the card with a yellow pencil
    static QIcon deleteContact(); // the card with a red cross
    static QIcon closeBook();     // a closed blue book with a green tick

private:
    enum class Picture { New, Edit, Delete, Close };
    static QIcon icon(Picture picture);
    static void draw(QPainter& painter, Picture picture);
    static void drawCard(QPainter& painter);
};
