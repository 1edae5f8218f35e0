#include "tests/support/pelimon_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <set>
#include <utility>

#include "tests/support/test_files.h"

extern char** environ;

namespace pelimon::test {
namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The environment of the child: ours without a display and without locale variables, with the
// settings file and the locale given.
std::vector<std::string> ChildEnvironment(const std::string& ini, const Locale& locale) {
    static const std::set<std::string> kReplaced{"DISPLAY",  "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PELIMON_INI",
                                                 "LANGUAGE", "LC_ALL",          "LC_MESSAGES",     "LANG"};
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (!kReplaced.contains(variable.substr(0, variable.find('=')))) {
            variables.push_back(variable);
        }
    }
    variables.push_back("QT_QPA_PLATFORM=offscreen");
    variables.push_back("PELIMON_INI=" + ini);
    variables.insert(variables.end(), locale.begin(), locale.end());
    return variables;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

PelimonProcess::PelimonProcess(const std::vector<std::string>& args, const std::string& ini, std::string err_path,
                               const Locale& locale, const std::string& working_folder)
    : err_path_(std::move(err_path)) {
    std::vector<std::string> environment = ChildEnvironment(ini, locale);
    std::vector<std::string> arguments{PELIMON_BINARY};
    arguments.insert(arguments.end(), args.begin(), args.end());
    std::vector<char*> argv = PointersTo(arguments);
    std::vector<char*> envp = PointersTo(environment);
    started_ = Now();
    pid_ = fork();
    if (pid_ == 0) {
        const int err = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int out = open((err_path_ + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
        dup2(null, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (!working_folder.empty() && chdir(working_folder.c_str()) != 0) {
            _exit(126);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

PelimonProcess::~PelimonProcess() {
    if (pid_ > 0) {
        Wait();
    }
}

ProcessResult PelimonProcess::Wait() {
    ProcessResult result;
    int wait_status = 0;
    rusage usage{};
    pid_t waited = -1;
    do {
        waited = wait4(pid_, &wait_status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    pid_ = -1;
    result.seconds = Now() - started_;
    if (waited > 0) {
        result.max_rss_kb = usage.ru_maxrss;
        if (WIFEXITED(wait_status)) {
            result.status = WEXITSTATUS(wait_status);
        } else if (WIFSIGNALED(wait_status)) {
            result.signal = WTERMSIG(wait_status);
        }
    }
    result.err = ReadText(err_path_);
    result.out = ReadText(err_path_ + ".out");
    return result;
}

ProcessResult RunPelimon(const std::vector<std::string>& args, const std::string& ini, const std::string& err_path,
                         const Locale& locale, const std::string& working_folder) {
    return PelimonProcess(args, ini, err_path, locale, working_folder).Wait();
}

}  // namespace pelimon::test
