#include "platform/system/ErrorReason.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace ErrorReason {

QString text(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("ErrorReason", "sem espaço livre no disco");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("ErrorReason", "permissão negada");
    case EROFS:
        return QCoreApplication::translate("ErrorReason", "o disco só permite leitura");
    case EFBIG:
        return QCoreApplication::translate("ErrorReason", "o arquivo excede o tamanho permitido");
    case EIO:
        return QCoreApplication::translate("ErrorReason", "erro de entrada e saída");
    case ENOENT:
        return QCoreApplication::translate("ErrorReason", "a pasta não existe");
    case ENOTDIR:
        return QCoreApplication::translate("ErrorReason", "parte do caminho não é uma pasta");
    case EISDIR:
        return QCoreApplication::translate("ErrorReason", "já existe uma pasta com esse nome");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

} // namespace ErrorReason
