// Entry point of the Quillmar window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Quillmar v1.22 ");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
