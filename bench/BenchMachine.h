// What every benchmark of a goal shares: the machine's load beside each figure (other programs on
// a shared machine slow the timings down), and whole programs run and measured.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// The middle of values: one run slowed by another program moves it less than it moves a mean.
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2] + values[(values.size() - 1) / 2]) / 2;
}

// The one-minute load average as a counter of state.
inline void NoteLoad(benchmark::State& state)
{
    double load[1] = {};
    if (getloadavg(load, 1) == 1)
        state.counters["load1"] = load[0];
}

// The time of clock in seconds: CLOCK_MONOTONIC for the wall; the processor time of the process
// or the thread, which on a machine shared with other programs tells the work from the waiting.
inline double ClockSeconds(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct ProcessRun
{
    bool ok = false;
    double seconds = 0;
    // The largest resident memory the process had.
    double peakMegabytes = 0;
};

// Runs program with arguments to its end, its error output thrown away, and measures it whole.
// With untilFirstLine, seconds is the time to the first line of its standard output (the
// programs print one when their first picture is saved); the rest of their run does not count.
inline ProcessRun RunProcess(
    const QString& program, const QStringList& arguments, bool untilFirstLine = false)
{
    std::vector<QByteArray> texts { program.toLocal8Bit() };
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    int output[2] = { -1, -1 };
    if (pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const double start = ClockSeconds(CLOCK_MONOTONIC);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        return {};
    }
    const auto secondsSinceStart = [start] { return ClockSeconds(CLOCK_MONOTONIC) - start; };
    double firstLine = -1;
    char buffer[4096];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
        if (firstLine < 0 && std::memchr(buffer, '\n', std::size_t(got)))
            firstLine = secondsSinceStart();
    }
    close(output[0]);
    int status = 0;
    rusage usage {};
    if (wait4(child, &status, 0, &usage) != child)
        return {};
    ProcessRun run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && (!untilFirstLine || firstLine >= 0);
    run.seconds = untilFirstLine ? firstLine : secondsSinceStart();
    run.peakMegabytes = double(usage.ru_maxrss) / 1024;
    return run;
}
