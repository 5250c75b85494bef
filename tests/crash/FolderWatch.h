#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Events in a folder, as they happen: opens, creations and renames of its files.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    struct Event {
        uint32_t mask = 0;
        QString name;

        // A save of file has created its temporary file.
        bool createsTemporaryOf(const QString& file) const;
        // Something, a save's temporary file, has taken the place of file.
        bool replaces(const QString& file) const;
    };

    // The next event, waiting at most timeoutMs; nothing when none came.
    std::optional<Event> next(int timeoutMs);

private:
    int m_fd = -1;
    std::vector<Event> m_events;
};
