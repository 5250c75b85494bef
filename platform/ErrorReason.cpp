#include "platform/ErrorReason.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace ErrorReason {

QString text(int errorNumber) {
    const auto tr = [](const char* source) {
        return QCoreApplication::translate("ErrorReason", source);
    };
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return tr("sem espaço livre no disco");
    case EACCES:
    case EPERM:
        return tr("permissão negada");
    case EROFS:
        return tr("o disco só permite leitura");
    case EFBIG:
        return tr("o arquivo excede o tamanho permitido");
    case EIO:
        return tr("erro de entrada e saída");
    case ENOENT:
        return tr("a pasta não existe");
    case ENOTDIR:
        return tr("parte do caminho não é uma pasta");
    case EISDIR:
        return tr("já existe uma pasta com esse nome");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

} // namespace ErrorReason
