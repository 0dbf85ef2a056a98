// Wall times of corvella-cli over the extraction corpus, as scripts run it:
// one process per movie for "swf list" and "swf export", and one process
// for all movies; and the cost of starting the process at all (the median
// of 200 "corvella-cli --version" runs) beside /bin/true. Each corpus time
// is the median of ROUNDS rounds; output goes to /dev/null and exports into
// a scratch folder that is removed after each round. When swfextract is on
// the PATH, its listing is timed the same way.
//
// usage: cli_bench [ROUNDS] [CLI] [CORPUS]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Command = std::vector<std::string>;

// Runs the command with stdout and stderr sent to /dev/null and waits for it.
bool Run(const Command& command) {
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status);
}

// Seconds taken by running the commands one after the other.
double TimeCommands(const std::vector<Command>& commands) {
    const Clock::time_point start = Clock::now();
    for (const Command& command : commands) Run(command);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median over `rounds` of the time of the commands; `scratch`, when given,
// is emptied after each round.
double MedianTime(const std::vector<Command>& commands, int rounds, const fs::path& scratch = {}) {
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        times.push_back(TimeCommands(commands));
        if (!scratch.empty()) fs::remove_all(scratch);
    }
    return Median(times);
}

// Median of `runs` single runs of the command, in milliseconds.
double StartCost(const Command& command, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(TimeCommands({command}) * 1000);
    return Median(times);
}

bool OnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        if (access((folders.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5);
    const std::string cli = argc > 2 ? argv[2] : CORVELLA_CLI;
    const fs::path corpus = argc > 3 ? argv[3] : CORVELLA_SHARED_DIR "/corpus/extract";

    std::vector<std::string> movies;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus))
        if (entry.path().extension() == ".swf") movies.push_back(entry.path().string());
    std::sort(movies.begin(), movies.end());
    if (movies.empty()) {
        std::fprintf(stderr, "cli_bench: no .swf files in %s\n", corpus.c_str());
        return 1;
    }
    const fs::path scratch = fs::temp_directory_path() / ("cli_bench." + std::to_string(getpid()));

    std::vector<Command> list_each, export_each, peer_list_each;
    Command list_all = {cli, "swf", "list"}, export_all = {cli, "swf", "export", "--out", scratch.string()};
    for (size_t i = 0; i < movies.size(); ++i) {
        list_each.push_back({cli, "swf", "list", movies[i]});
        export_each.push_back({cli, "swf", "export", movies[i], (scratch / std::to_string(i)).string()});
        peer_list_each.push_back({"swfextract", movies[i]});
        list_all.push_back(movies[i]);
        export_all.push_back(movies[i]);
    }

    std::printf("%zu movies in %s, medians of %d rounds\n", movies.size(), corpus.c_str(), rounds);
    std::printf("swf list,   one process per movie: %.3f s\n", MedianTime(list_each, rounds));
    std::printf("swf list,   one process:           %.3f s\n", MedianTime({list_all}, rounds));
    std::printf("swf export, one process per movie: %.3f s\n", MedianTime(export_each, rounds, scratch));
    std::printf("swf export, one process:           %.3f s\n", MedianTime({export_all}, rounds, scratch));
    if (OnPath("swfextract"))
        std::printf("swfextract listing, one process per movie: %.3f s\n", MedianTime(peer_list_each, rounds));

    const double ours = StartCost({cli, "--version"}, 200);
    const double truth = StartCost({"/bin/true"}, 200);
    std::printf("start, median of 200: corvella-cli --version %.3f ms, /bin/true %.3f ms (+%.3f ms)\n", ours, truth,
                ours - truth);
    return 0;
}
