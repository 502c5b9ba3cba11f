#include <QCoreApplication>

#include <gtest/gtest.h>

// camsim's tests run the program with QProcess, which wants an application
// object.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
