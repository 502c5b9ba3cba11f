// The main of the link tests: a QCoreApplication around GoogleTest, so that
// what the connection leaves for its event loop (user actions that waited for
// an exchange, answers collected between exchanges) can run in a test.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
