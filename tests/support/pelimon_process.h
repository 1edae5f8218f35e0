// Running the pelimon binary as a script does: no display, a settings file of the test's own,
// standard error captured in a file.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pelimon::test {

// How a finished pelimon process ended.
struct ProcessResult {
    int status = -1;      // exit status; -1 when it did not exit normally (killed, crashed)
    int signal = 0;       // the signal that ended it, else 0
    std::string err;      // its standard error
    std::string out;      // its standard output
    long max_rss_kb = 0;  // peak resident memory (getrusage of the child)
    double seconds = 0;   // wall-clock time from start to exit
};

// The locale variables a test gives the child ("LANG=C", ...); the child inherits none of ours
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), so no test depends on the developer's locale. The
// default asks for Japanese, the program's own language.
using Locale = std::vector<std::string>;
inline const Locale kJapaneseLocale{"LANGUAGE=ja"};

// A pelimon process started with no display, PELIMON_INI = `ini`, the locale `locale`, arguments
// `args` (without the program name), standard input on /dev/null, standard error in `err_path` and
// standard output in `err_path` + ".out", in the folder `working_folder` (empty: the test's own).
class PelimonProcess {
  public:
    PelimonProcess(const std::vector<std::string>& args, const std::string& ini, std::string err_path,
                   const Locale& locale = kJapaneseLocale, const std::string& working_folder = {});
    PelimonProcess(const PelimonProcess&) = delete;
    PelimonProcess& operator=(const PelimonProcess&) = delete;
    // Waits for the process when the test did not.
    ~PelimonProcess();

    pid_t pid() const { return pid_; }
    // Waits for the exit; only once.
    ProcessResult Wait();

  private:
    pid_t pid_ = -1;
    std::string err_path_;
    double started_ = 0;
};

// Starts pelimon and waits for it.
ProcessResult RunPelimon(const std::vector<std::string>& args, const std::string& ini, const std::string& err_path,
                         const Locale& locale = kJapaneseLocale, const std::string& working_folder = {});

}  // namespace pelimon::test
