#pragma once

// A private headless sway for one test or benchmark, with the foot terminal focused and running
// `cat` into a file: what a Wayland program receives. sway refuses to run as root, so as root
// the session and its programs run as "nobody" with a runtime folder of their own. Every wait is
// bounded; every process started here is stopped when the session ends.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pty.h>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace e2e {

class SwaySession {
public:
    using Clock = std::chrono::steady_clock;

    // config: more lines of sway's configuration.
    explicit SwaySession(const std::string& layout, const std::string& config = {}) {
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody)
                throw std::runtime_error("no user \"nobody\" to run sway as");
            uid_ = nobody->pw_uid;
            gid_ = nobody->pw_gid;
        }
        char pattern[] = "/tmp/tallyra-sway-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("cannot make a folder for sway");
        dir_ = pattern;
        chmod(dir_.c_str(), 0755);
        for (const char* sub : {"run", "home", "out"}) {
            std::filesystem::create_directory(dir_ / sub);
            chmod((dir_ / sub).c_str(), 0700);
            if (chown((dir_ / sub).c_str(), uid_, gid_) != 0)
                throw std::runtime_error("cannot hand a folder to the sway user");
        }
        std::ofstream(dir_ / "config") << "input * xkb_layout " << layout << "\n" << config;
        chmod((dir_ / "config").c_str(), 0644);

        sway_ = spawn({"sway", "-c", (dir_ / "config").string()},
                      {"WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman"},
                      "sway.log");
        waitUntil([&] { return !socket().empty(); }, "sway's socket");
        foot_ = spawn({"foot", "-e", "sh", "-c", "cat > " + output().string()}, {}, "foot.log");
        // The terminal has the focus once sway can focus it by its application id.
        waitUntil([&] { return sway({"[app_id=foot]", "focus"}) == 0; }, "the foot window");
        waitUntil([&] { return std::filesystem::exists(output()); }, "cat in foot");
    }

    ~SwaySession() {
        stop(foot_);
        stop(sway_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    // The compositor's socket, for a client in this process.
    std::string socketPath() const { return (dir_ / "run" / socket()).string(); }
    std::filesystem::path output() const { return dir_ / "out" / "received"; }
    std::string received() const { return readFile(output()); }

    // Runs swaymsg with these arguments (bounded); its exit status.
    int sway(std::vector<std::string> args) {
        args.insert(args.begin(), "swaymsg");
        pid_t pid = spawn(args, {"SWAYSOCK=" + ipcSocket()}, "swaymsg.log");
        return finish(pid, std::chrono::seconds(5));
    }

    // Starts a program as the session's user, with the session's Wayland display and the given
    // variables; its standard output and error go to the named file in the session's folder.
    pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const std::string& log) {
        std::vector<std::string> vars = {
            "PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + (dir_ / "home").string(),
            "XDG_RUNTIME_DIR=" + (dir_ / "run").string(), "LC_ALL=C.UTF-8"};
        if (!socket().empty())
            vars.push_back("WAYLAND_DISPLAY=" + socket());
        vars.insert(vars.end(), env.begin(), env.end());
        std::vector<char*> argv, envp;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (auto& v : vars)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        const std::string logPath = (dir_ / log).string();
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(fd, 1);
            dup2(fd, 2);
            setsid(); // no controlling terminal of the test's
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(gid_) != 0 || setuid(uid_) != 0))
                _exit(126);
            execvpe(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        if (pid < 0)
            throw std::runtime_error("cannot start " + args.front());
        return pid;
    }

    // Waits for a child up to the time-out, then kills it; its exit status (-1: it was killed).
    static int finish(pid_t& pid, std::chrono::milliseconds timeout) {
        int status = 0;
        for (const auto end = Clock::now() + timeout; waitpid(pid, &status, WNOHANG) != pid;) {
            if (Clock::now() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                pid = -1;
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    static void stop(pid_t& pid) {
        if (pid <= 0)
            return;
        kill(pid, SIGTERM);
        finish(pid, std::chrono::seconds(3));
    }

    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    template <class Predicate>
    void waitUntil(Predicate done, const std::string& what,
                   std::chrono::seconds timeout = std::chrono::seconds(15)) {
        const auto end = Clock::now() + timeout;
        while (!done()) {
            if (Clock::now() > end)
                throw std::runtime_error("gave up waiting for " + what + "; sway's log:\n" +
                                         readFile(dir_ / "sway.log"));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    // A pseudo-terminal in raw mode whose far side the session's user may open: an instrument.
    struct Pty {
        int master = -1, slave = -1;
        std::string name;
        ~Pty() {
            close(master);
            close(slave);
        }
    };
    void openPty(Pty& pty) const {
        char name[128] = {};
        if (openpty(&pty.master, &pty.slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("no pseudo-terminal");
        termios raw{};
        tcgetattr(pty.slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(pty.slave, TCSANOW, &raw);
        pty.name = name;
        if (chown(name, uid_, gid_) != 0)
            throw std::runtime_error("cannot hand the pseudo-terminal to the sway user");
    }

private:
    std::string socket() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "run", ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos)
                return name;
        }
        return {};
    }
    std::string ipcSocket() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "run", ec))
            if (entry.path().filename().string().rfind("sway-ipc.", 0) == 0)
                return entry.path().string();
        return {};
    }

    std::filesystem::path dir_;
    uid_t uid_ = geteuid();
    gid_t gid_ = getegid();
    pid_t sway_ = -1;
    pid_t foot_ = -1;
};

} // namespace e2e
