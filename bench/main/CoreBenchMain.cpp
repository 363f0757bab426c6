#include <QCoreApplication>

#include <benchmark/benchmark.h>

// The main of every core benchmark program: the string table and the program's folder come
// through the application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
