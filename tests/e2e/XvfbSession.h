#pragma once

// A private X server for one test: Xvfb on a free display number, started with -noreset so that
// a keyboard layout set with setxkbmap stays after setxkbmap disconnects. Every wait is bounded
// and every process started here is killed when the session ends.

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace e2e {

// Starts a program with extra environment variables; its output goes to /dev/null.
inline pid_t spawn(const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv = {}) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        std::string entry(*e);
        bool replaced = false;
        for (const auto& x : extraEnv)
            replaced |= entry.substr(0, entry.find('=') + 1) == x.substr(0, x.find('=') + 1);
        if (!replaced)
            envStrings.push_back(entry);
    }
    envStrings.insert(envStrings.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

// Waits for a child up to the time-out; its exit status, or -1 when it is still running.
inline int waitFor(pid_t pid, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        if (std::chrono::steady_clock::now() > end)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline void stop(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    if (waitFor(pid, std::chrono::seconds(3)) == -1) {
        kill(pid, SIGKILL);
        waitFor(pid, std::chrono::seconds(3));
    }
    pid = -1;
}

class XvfbSession {
public:
    XvfbSession() {
        int number = 100 + static_cast<int>(getpid() % 400);
        for (int attempt = 0; attempt < 20; ++attempt, ++number) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (std::filesystem::exists(lock) || std::filesystem::exists(socket))
                continue;
            display_ = ":" + std::to_string(number);
            pid_ = spawn(
                {"Xvfb", display_, "-screen", "0", "1280x800x24", "-noreset", "-nolisten", "tcp"});
            if (waitUntilUp())
                return;
            stop(pid_);
        }
        throw std::runtime_error("no free display for Xvfb");
    }
    ~XvfbSession() { stop(pid_); }
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    const std::string& display() const { return display_; }

    // Runs a program against this display and waits for it (bounded); its exit status.
    int run(std::vector<std::string> args) {
        pid_t pid = spawn(args, {"DISPLAY=" + display_});
        const int status = waitFor(pid, std::chrono::seconds(20));
        if (status == -1)
            stop(pid);
        return status;
    }

private:
    bool waitUntilUp() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1; // the number was taken after all
                return false;
            }
            if (Display* d = XOpenDisplay(display_.c_str())) {
                XCloseDisplay(d);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::string display_;
    pid_t pid_ = -1;
};

} // namespace e2e
