#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Cellvane V1.6"));
    window.setFixedSize(933, 700);
    window.show();
    return app.exec();
}
