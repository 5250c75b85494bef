#pragma once

#include <QString>

struct NetworkSettings;

// The senders whose notes are refused.
namespace BlockList {

// Whether a line from peerAddress is to be ignored under the block settings: mode 1
// blocks everybody; mode 2 blocks a peer whose numeric address equals an entry of the
// list exactly (letter case and blanks included); mode 0, or any other, nobody.
bool IsBlocked(const NetworkSettings& settings, const QString& peerAddress);

} // namespace BlockList
