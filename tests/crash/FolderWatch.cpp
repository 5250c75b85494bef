#include "tests/crash/FolderWatch.h"

#include "tests/crash/HarnessSupport.h"

#include <QFile>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

FolderWatch::FolderWatch(const QString& folder) {
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0 || inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                                      IN_OPEN | IN_CREATE | IN_MOVED_TO) < 0)
        fail(QStringLiteral("cannot watch ") + folder);
}

FolderWatch::~FolderWatch() {
    ::close(m_fd);
}

std::optional<FolderWatch::Event> FolderWatch::next(int timeoutMs) {
    if (m_events.empty()) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return std::nullopt;
        alignas(inotify_event) char buffer[8192];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            m_events.push_back(
                {event->mask, event->len ? QFile::decodeName(event->name) : QString()});
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
    if (m_events.empty())
        return std::nullopt;
    Event event = m_events.front();
    m_events.erase(m_events.begin());
    return event;
}

bool FolderWatch::Event::createsTemporaryOf(const QString& file) const {
    return (mask & IN_CREATE) && name.startsWith(file + QStringLiteral(".tmp-"));
}

bool FolderWatch::Event::replaces(const QString& file) const {
    return (mask & IN_MOVED_TO) && name == file;
}
