#include "net/BlockList.h"

#include "store/TRecRede.h"

namespace BlockList {

bool IsBlocked(const TRecRede& settings, const QString& peerAddress) {
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
