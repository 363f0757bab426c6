// What every benchmark of a goal shares: the machine's load beside each figure (other programs on
// a shared machine slow the timings down), and whole programs run and measured.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <vector>

extern char** environ;

// The one-minute load average as a counter of state.
inline void NoteLoad(benchmark::State& state)
{
    double load[1] = {};
    if (getloadavg(load, 1) == 1)
        state.counters["load1"] = load[0];
}

struct ProcessRun
{
    bool ok = false;
    double seconds = 0;
    // The largest resident memory the process had.
    double peakMegabytes = 0;
};

// Runs program with arguments to its end, its output thrown away, and measures it whole.
inline ProcessRun RunProcess(const QString& program, const QStringList& arguments)
{
    std::vector<QByteArray> texts { program.toLocal8Bit() };
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    timespec start {};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {};
    int status = 0;
    rusage usage {};
    if (wait4(child, &status, 0, &usage) != child)
        return {};
    timespec end {};
    clock_gettime(CLOCK_MONOTONIC, &end);
    ProcessRun run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.seconds = double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
    run.peakMegabytes = double(usage.ru_maxrss) / 1024;
    return run;
}
