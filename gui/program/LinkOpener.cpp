#include "gui/program/LinkOpener.h"

#include "platform/MessageBoxes.h"
#include "platform/ShellOpener.h"

LinkOpener::LinkOpener(ShellOpener& shell, MessageBoxes& messages)
    : m_shell(shell), m_messages(messages) {}

bool LinkOpener::open(const QUrl& url) {
    if (m_shell.open(url))
        return true;
    m_messages.error(tr("A área de trabalho não conseguiu abrir o endereço %1. Verifique se "
                        "há um navegador instalado.")
                         .arg(url.toDisplayString(QUrl::PreferLocalFile)));
    return false;
}
