// Starts a program and waits until it has mapped a number of top-level windows of at least
// a given size (its notes, framed by the window manager or not), watching the X server's
// map events. Prints one line and leaves the program running:
//
//   <ms from exec until mapped> <pid> <the program's CPU ms so far, user + system>
//
//   bench_map_wait COUNT MIN_WIDTH MIN_HEIGHT TIMEOUT_SECONDS PROGRAM [ARGUMENT...]
//
// Exits with 1 and ends the program when the windows do not come in time or the program
// ends first. The display is taken from DISPLAY.

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long cpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name, which may hold spaces, in parentheses.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stol(field);
        else if (i == 15)
            stime = std::stol(field);
    }
    return (utime + stime) * 1000 / sysconf(_SC_CLK_TCK);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: %s COUNT MIN_WIDTH MIN_HEIGHT TIMEOUT_SECONDS PROGRAM "
                     "[ARGUMENT...]\n",
                     argv[0]);
        return 2;
    }
    const std::size_t count = std::strtoul(argv[1], nullptr, 10);
    const int minWidth = std::atoi(argv[2]);
    const int minHeight = std::atoi(argv[3]);
    const auto timeout = std::chrono::seconds(std::atoi(argv[4]));

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // The selection is in place before the program starts.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(xcb_get_file_descriptor(connection));
        // Our output is the one line; the program's goes where our errors go, so whoever
        // reads our output is not kept waiting by the program holding it open.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[5], argv + 5);
        std::fprintf(stderr, "cannot start %s\n", argv[5]);
        _exit(127);
    }

    std::set<xcb_window_t> mapped;
    while (mapped.size() < count) {
        if (std::chrono::steady_clock::now() - start > timeout) {
            std::fprintf(stderr, "only %zu of %zu windows mapped in time\n", mapped.size(), count);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return 1;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended after %zu windows\n", argv[5], mapped.size());
            return 1;
        }
        pollfd fds{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&fds, 1, 20);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                auto* geometry = xcb_get_geometry_reply(
                    connection, xcb_get_geometry(connection, map->window), nullptr);
                if (geometry && geometry->width >= minWidth && geometry->height >= minHeight)
                    mapped.insert(map->window);
                std::free(geometry);
            }
            std::free(event);
        }
        if (xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "the X server went away\n");
            kill(pid, SIGKILL);
            return 1;
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("%lld %d %ld\n", static_cast<long long>(elapsed.count()), pid, cpuMs(pid));
    xcb_disconnect(connection);
    return 0;
}
