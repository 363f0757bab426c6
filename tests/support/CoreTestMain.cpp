#include <QCoreApplication>

#include <gtest/gtest.h>

// The core asks the application object for the program's own directory.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
