#include "PK70App.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    CPK70App app;
    return app.run();
}
