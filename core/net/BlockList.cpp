#include "core/net/BlockList.h"

#include "core/settings/NetworkSettings.h"

namespace BlockList {

bool IsBlocked(const NetworkSettings& settings, const QString& peerAddress) {
    switch (settings.Blocktype) {
    case 1:
        return true;
    case 2:
        return settings.BlockList.contains(peerAddress, Qt::CaseSensitive);
    default:
        return false;
    }
}

} // namespace BlockList
