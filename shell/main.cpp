#include <QApplication>
#include <QMainWindow>

// Placeholder until the application shell lands: a bare window.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("PK70App"));
    window.resize(640, 360);
    window.show();
    return app.exec();
}
